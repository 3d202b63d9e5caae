#pragma once

#include <QString>
#include <QStringList>

namespace Orbisong {

// The flags word of an export profile.
enum ExportFlag {
    ExportAllAlbums = 1,
    ExportGroupAlbums = 2,
    ExportListedAlbums = 4,
    ExportTrackTitles = 8,
    ExportFormatAscii = 16,
    ExportFormatCollection = 32,
    ExportFormatHtml = 64,
};

// Everything the export wizard asks: which albums, which format, where to. Its text form is
// ten fields separated by grave accents, as the settings list "Export Profiles" keeps them.
struct ExportProfile
{
    int flags = ExportAllAlbums | ExportFormatHtml;
    QStringList albumIds; // the listed albums, with ExportListedAlbums
    QString templateName;
    QString outputFile;   // ASCII and collection formats
    QString outputFolder; // HTML
    QString trackDelimiter = QStringLiteral(",");
    QString fieldDelimiter = QStringLiteral("<tab>");
    QString recordDelimiter = QStringLiteral("<ret>");
    int groupKind = -1; // -1 none, else a GroupField
    QString groupValue;

    QString toText() const;
    // Missing fields keep their defaults.
    static ExportProfile fromText(const QString &text);

    bool isHtml() const { return flags & ExportFormatHtml; }
    bool isAscii() const { return flags & ExportFormatAscii; }
    bool isCollection() const { return flags & ExportFormatCollection; }
};

// The delimiter a box's text stands for: "<RET>" CR LF, "<TAB>" a tab (without regard to
// case, trimmed), anything else the text itself.
QString delimiterText(const QString &boxText);

// The saved profiles: entries "name`profile" in the settings list.
namespace ExportProfiles {
// The names, in list order.
QStringList names(const QStringList &entries);
// The profile saved under `name` (without regard to case); false when there is none.
bool find(const QStringList &entries, const QString &name, ExportProfile *profile);
// Saves under `name`, grave accents becoming blanks: replaces the entry of that name
// (without regard to case), else appends one.
void save(QStringList &entries, const QString &name, const ExportProfile &profile);
// Sorted by name without regard to case, as the wizard offers them.
void sort(QStringList &entries);
} // namespace ExportProfiles

} // namespace Orbisong
