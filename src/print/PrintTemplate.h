#pragma once

#include <QList>
#include <QRectF>
#include <QString>

namespace Orbisong {

// A print template: an optional header and footer and the areas into which album text flows.
// Rectangles are in inches from the paper's physical edge; the three contents are rich text
// (see RtfReader) with tags (see TemplateExpander).
struct PrintTemplate
{
    enum Flag {
        SingleAlbum = 1, // one album per area
        RowsFirst = 2,   // areas flow right then down (clear: down then right)
        HasHeader = 4,
        HasFooter = 8,
    };

    int flags = HasHeader | HasFooter;
    QString header;
    QString footer;
    QString area; // shared by every area
    QRectF headerRect;
    QRectF footerRect;
    QList<QRectF> areas; // in flow order

    bool has(Flag flag) const { return flags & flag; }
    // Orders the areas by top then left (RowsFirst) or by left then top.
    void sortAreas();
};

// Whether the file's first line is "PRINT", without regard to case.
bool isPrintTemplateFile(const QString &path);
// Reads a template file; false (with `error`) when it cannot be read or is no print template.
bool readPrintTemplate(const QString &path, PrintTemplate &tpl, QString *error = nullptr);
// Writes the file whole, creating its folder when needed.
bool writePrintTemplate(const QString &path, const PrintTemplate &tpl, QString *error = nullptr);

// The one-line form of template contents: CR LF (or a lone line feed) as "\n", a tab as "\t",
// a backslash as "\\". Reading turns them back and copies a backslash before any other
// character unchanged.
QString escapeTemplateText(const QString &text);
QString unescapeTemplateText(const QString &line);

} // namespace Orbisong
