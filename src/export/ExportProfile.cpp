#include "export/ExportProfile.h"

#include <algorithm>

namespace Orbisong {

namespace {

constexpr QChar Grave = QLatin1Char('`');

QString entryName(const QString &entry)
{
    return entry.section(Grave, 0, 0);
}

} // namespace

QString ExportProfile::toText() const
{
    const QStringList fields = {
        QStringLiteral("%1").arg(uint(flags), 8, 16, QLatin1Char('0')).toUpper(),
        albumIds.join(QLatin1Char(',')),
        templateName,
        outputFile,
        outputFolder,
        trackDelimiter,
        fieldDelimiter,
        recordDelimiter,
        QString::number(groupKind),
        groupValue,
    };
    return fields.join(Grave);
}

ExportProfile ExportProfile::fromText(const QString &text)
{
    const QStringList f = text.split(Grave);
    ExportProfile p;
    bool ok = false;
    const int flags = int(f.value(0).toUInt(&ok, 16));
    if (ok)
        p.flags = flags;
    p.albumIds = f.value(1).split(QLatin1Char(','), Qt::SkipEmptyParts);
    p.templateName = f.value(2);
    p.outputFile = f.value(3);
    p.outputFolder = f.value(4);
    if (f.size() > 7) {
        p.trackDelimiter = f.at(5);
        p.fieldDelimiter = f.at(6);
        p.recordDelimiter = f.at(7);
    }
    const int kind = f.value(8).toInt(&ok);
    p.groupKind = ok && kind >= 0 && kind <= 4 ? kind : -1;
    p.groupValue = f.value(9);
    return p;
}

QString delimiterText(const QString &boxText)
{
    const QString t = boxText.trimmed();
    if (t.compare(QLatin1String("<RET>"), Qt::CaseInsensitive) == 0)
        return QStringLiteral("\r\n");
    if (t.compare(QLatin1String("<TAB>"), Qt::CaseInsensitive) == 0)
        return QStringLiteral("\t");
    return t;
}

namespace ExportProfiles {

QStringList names(const QStringList &entries)
{
    QStringList result;
    for (const QString &entry : entries)
        result.append(entryName(entry));
    return result;
}

bool find(const QStringList &entries, const QString &name, ExportProfile *profile)
{
    for (const QString &entry : entries) {
        if (entryName(entry).compare(name, Qt::CaseInsensitive) == 0) {
            *profile = ExportProfile::fromText(entry.section(Grave, 1));
            return true;
        }
    }
    return false;
}

void save(QStringList &entries, const QString &name, const ExportProfile &profile)
{
    QString clean = name;
    clean.replace(Grave, QLatin1Char(' '));
    const QString entry = clean + Grave + profile.toText();
    for (QString &existing : entries) {
        if (entryName(existing).compare(clean, Qt::CaseInsensitive) == 0) {
            existing = entry;
            return;
        }
    }
    entries.append(entry);
}

void sort(QStringList &entries)
{
    std::stable_sort(entries.begin(), entries.end(), [](const QString &a, const QString &b) {
        return entryName(a).compare(entryName(b), Qt::CaseInsensitive) < 0;
    });
}

} // namespace ExportProfiles

} // namespace Orbisong
