#include "collection/WinIniFile.h"

#include "collection/StoredText.h"

#include <QFile>

namespace Orbisong {

bool WinIniFile::load(const QString &path)
{
    m_sections.clear();
    m_entryCount = 0;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    const QString text = decodeStoredText(file.readAll());
    Section *current = nullptr;
    for (QStringView line : QStringView(text).split(QLatin1Char('\n'))) {
        line = line.trimmed();
        if (line.isEmpty() || line.startsWith(QLatin1Char(';')))
            continue;
        if (line.startsWith(QLatin1Char('['))) {
            const qsizetype close = line.indexOf(QLatin1Char(']'));
            const QStringView name = line.mid(1, close < 0 ? -1 : close - 1).trimmed();
            m_sections.append(Section{name.toString(), {}});
            current = &m_sections.last();
            continue;
        }
        const qsizetype equals = line.indexOf(QLatin1Char('='));
        if (!current || equals < 0)
            continue;
        QStringView value = line.mid(equals + 1).trimmed();
        if (value.size() >= 2 &&
            (value.front() == QLatin1Char('"') || value.front() == QLatin1Char('\'')) &&
            value.back() == value.front())
            value = value.mid(1, value.size() - 2);
        current->entries.append(Entry{line.left(equals).trimmed().toString(), value.toString()});
        ++m_entryCount;
    }
    return true;
}

const WinIniFile::Entry *WinIniFile::find(const QString &section, const QString &key) const
{
    for (const Section &s : m_sections) {
        if (s.name.compare(section, Qt::CaseInsensitive) != 0)
            continue;
        for (const Entry &entry : s.entries) {
            if (entry.key.compare(key, Qt::CaseInsensitive) == 0)
                return &entry;
        }
        return nullptr;
    }
    return nullptr;
}

bool WinIniFile::hasKey(const QString &section, const QString &key) const
{
    return find(section, key) != nullptr;
}

QString WinIniFile::readString(const QString &section, const QString &key,
                               const QString &fallback) const
{
    const Entry *entry = find(section, key);
    return entry ? entry->value : fallback;
}

int WinIniFile::readInteger(const QString &section, const QString &key, int fallback) const
{
    const Entry *entry = find(section, key);
    if (!entry)
        return fallback;
    const QString text = entry->value.trimmed();
    bool ok = false;
    int value;
    if (text.startsWith(QLatin1Char('$')))
        value = int(text.mid(1).toUInt(&ok, 16));
    else if (text.startsWith(QLatin1String("0x"), Qt::CaseInsensitive))
        value = int(text.mid(2).toUInt(&ok, 16));
    else
        value = text.toInt(&ok, 10);
    return ok ? value : fallback;
}

} // namespace Orbisong
