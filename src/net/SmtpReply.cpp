#include "net/SmtpReply.h"

namespace Orbisong {

bool SmtpReply::append(const QByteArray &bytes)
{
    if (m_buffer.size() + bytes.size() > MaxBytes) {
        m_overflow = true;
        return false;
    }
    m_buffer += bytes;
    return true;
}

QString SmtpReply::lastLine() const
{
    QByteArray text = m_buffer;
    if (text.endsWith('\n'))
        text.chop(1);
    if (text.endsWith('\r'))
        text.chop(1);
    const qsizetype start = text.lastIndexOf('\n') + 1;
    return QString::fromUtf8(text.mid(start));
}

bool SmtpReply::complete() const
{
    if (!m_buffer.endsWith('\n'))
        return false;
    const QString line = lastLine();
    return !(line.size() > 4 && line.at(3) == QLatin1Char('-'));
}

int SmtpReply::code() const
{
    return lastLine().left(3).toInt();
}

bool SmtpReply::accepted() const
{
    const QString line = lastLine();
    return line.startsWith(QLatin1Char('2')) || line.startsWith(QLatin1String("354"));
}

QString SmtpReply::text() const
{
    return lastLine().mid(4).trimmed();
}

void SmtpReply::clear()
{
    m_buffer.clear();
    m_overflow = false;
}

} // namespace Orbisong
