#include "collection/ConversionLog.h"

#include <QDateTime>
#include <QLocale>
#include <QSaveFile>

namespace Orbisong {

void ConversionLog::add(const QString &message)
{
    const QDateTime now = QDateTime::currentDateTime();
    const QLocale locale = QLocale::system();
    m_lines.append(locale.toString(now.date(), QLocale::LongFormat) + QLatin1Char(' ') +
                   locale.toString(now.time(), QLocale::ShortFormat) + QLatin1String(": ") +
                   message);
}

bool ConversionLog::write(const QString &path) const
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    for (const QString &line : m_lines)
        file.write(line.toUtf8() + "\r\n");
    return file.commit();
}

} // namespace Orbisong
