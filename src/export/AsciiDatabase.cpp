#include "export/AsciiDatabase.h"

namespace Orbisong {

QString AsciiDatabase::text(const QList<ExportAlbum> &albums) const
{
    QString out;
    out.reserve(albums.size() * (includeTracks ? 400 : 80));
    bool first = true;
    for (const ExportAlbum &a : albums) {
        if (!first)
            out += recordDelimiter;
        first = false;
        for (const QString *field : {&a.artist, &a.title, &a.category, &a.owner, &a.year}) {
            out += *field;
            out += fieldDelimiter;
        }
        if (!includeTracks)
            continue;
        out += fieldDelimiter;
        for (qsizetype n = 0; n < a.tracks.size(); ++n) {
            if (n > 0)
                out += trackDelimiter;
            out += a.tracks.at(n).title;
        }
    }
    return out;
}

} // namespace Orbisong
