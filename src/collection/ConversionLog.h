#pragma once

#include <QString>
#include <QStringList>

namespace Orbisong {

// "CONVLOG.TXT": one line per step of a conversion, each the long date, the short time,
// ": " and the message.
class ConversionLog
{
public:
    void add(const QString &message);
    const QStringList &lines() const { return m_lines; }
    // Writes the whole log to `path` (replacing it); false when that failed.
    bool write(const QString &path) const;

private:
    QStringList m_lines;
};

} // namespace Orbisong
