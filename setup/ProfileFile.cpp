#include "ProfileFile.h"

#include <QFile>

namespace Orbisong {

namespace {

// A "[name]" header; a line with an opening bracket but no closing one is not a header.
bool isSectionHeader(const QString &line)
{
    return line.startsWith(QLatin1Char('[')) && line.lastIndexOf(QLatin1Char(']')) > 0;
}

QString sectionName(const QString &header)
{
    return header.mid(1, header.lastIndexOf(QLatin1Char(']')) - 1).trimmed();
}

QString unquoted(const QString &value)
{
    if (value.size() >= 2 && value.front() == value.back() &&
        (value.front() == QLatin1Char('"') || value.front() == QLatin1Char('\'')))
        return value.mid(1, value.size() - 2);
    return value;
}

} // namespace

ProfileFile::ProfileFile(const QString &file) : m_file(file)
{
}

QString ProfileFile::readString(const QString &section, const QString &key,
                                const QString &fallback) const
{
    QFile file(m_file);
    if (!file.open(QIODevice::ReadOnly))
        return fallback;
    QByteArray bytes = file.readAll();
    if (bytes.startsWith("\xEF\xBB\xBF"))
        bytes.remove(0, 3);

    bool inSection = false;
    for (const QByteArray &raw : bytes.split('\n')) {
        const QString line = QString::fromUtf8(raw).trimmed();
        if (isSectionHeader(line)) {
            if (inSection)
                break;
            inSection = sectionName(line).compare(section, Qt::CaseInsensitive) == 0;
            continue;
        }
        if (!inSection)
            continue;
        const qsizetype equals = line.indexOf(QLatin1Char('='));
        if (equals < 0)
            continue;
        if (line.left(equals).trimmed().compare(key, Qt::CaseInsensitive) == 0)
            return unquoted(line.mid(equals + 1).trimmed());
    }
    return fallback;
}

} // namespace Orbisong
