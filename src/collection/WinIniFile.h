#pragma once

#include <QList>
#include <QString>

namespace Orbisong {

// An initialisation file of the previous version (".OBD"), read by the rules of the Windows
// profile routines: "[section]" lines, "key=value" lines, names compared without regard to
// case, the first section and key of a name win, lines beginning with ";" are comments, and
// a value enclosed in a pair of matching quotes loses them. Nothing else is interpreted:
// commas, backslashes and semicolons inside values are kept as they are.
class WinIniFile
{
public:
    // False when the file cannot be read.
    bool load(const QString &path);

    QString readString(const QString &section, const QString &key, const QString &fallback) const;
    // Decimal, or hexadecimal after "$" or "0x"; anything else gives `fallback`.
    int readInteger(const QString &section, const QString &key, int fallback) const;
    bool hasKey(const QString &section, const QString &key) const;
    // The entries read from the file: what any count stored in it can at most count.
    int entryCount() const { return m_entryCount; }

private:
    struct Entry
    {
        QString key;
        QString value;
    };
    struct Section
    {
        QString name;
        QList<Entry> entries;
    };

    const Entry *find(const QString &section, const QString &key) const;

    QList<Section> m_sections;
    int m_entryCount = 0;
};

} // namespace Orbisong
