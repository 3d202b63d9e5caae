#pragma once

#include "export/ExportAlbum.h"

#include <QString>

namespace Orbisong {

// The delimited-text form of the albums, for database and spreadsheet programs: per album
// artist, title, category, owner and year, each followed by the field delimiter; with track
// titles one more field delimiter and the titles joined by the track delimiter. Records are
// separated by the record delimiter, with none after the last.
struct AsciiDatabase
{
    bool includeTracks = false;
    QString trackDelimiter = QStringLiteral(",");
    QString fieldDelimiter = QStringLiteral("\t");
    QString recordDelimiter = QStringLiteral("\r\n");

    QString text(const QList<ExportAlbum> &albums) const;
};

} // namespace Orbisong
