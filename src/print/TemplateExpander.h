#pragma once

#include "print/PrintAlbum.h"

#include <QHash>
#include <QList>
#include <QString>

namespace Orbisong {

// Expands the tags of one block's rich text for a list of albums. "[[" is a literal "[",
// "[%name]" a variable, "[&foreach kind]" ... "[&end]" a loop over albums, tracks or the
// distinct values of a grouping field, "[&nl]" a hard line break and "[&tab]" a tab. The
// block's own paragraph marks are removed: its lines come from "[&nl]". Values are escaped
// for rich text. Loops nest; a loop over a grouping field filters the album loops inside it.
class TemplateExpander
{
public:
    TemplateExpander();

    // Names are compared without regard to case. An unknown variable expands to nothing.
    void setVariable(const QString &name, const QString &value);
    QString variable(const QString &name) const;
    // PROGRAM, VERSION, DATE, TIME, ALBUM_COUNT and PAGE.
    void setReportVariables(int albumCount, int page);
    // Sets every ALBUM_ variable (ALBUM_NUMBER excepted) from the album, which also becomes
    // the album of track loops.
    void loadAlbum(const PrintAlbum &album);
    // The running number the next album of an album loop gets.
    void setAlbumCounter(int next) { m_counter = next; }
    int albumCounter() const { return m_counter; }

    QString expand(const QString &text, const QList<PrintAlbum> &albums);

    // 13500 frames give "3:00".
    static QString trackLength(int frames);
    static QString albumLength(int seconds);
    // The order of album loops: the title without a leading "The " or "A ", without regard
    // to case; of artist loops: the artist's sort key (last name first when the album asks).
    static QString titleKey(const PrintAlbum &album);
    static QString artistKey(const QString &artist, int flags);

private:
    struct Token;
    using Tokens = QList<Token>;

    static Tokens scan(const QString &text);
    static void appendText(QString &out, const QString &text);
    // Runs tokens from `i` to the matching "[&end]" (or the end); returns the index after it.
    qsizetype run(const Tokens &tokens, qsizetype i, const QList<PrintAlbum> &albums, QString *out);
    void runLoop(const QString &kind, const Tokens &tokens, qsizetype body,
                 const QList<PrintAlbum> &albums, QString &out);
    void loadTrack(const PrintAlbum &album, int n);
    bool passesFilters(const PrintAlbum &album) const;

    QHash<QString, QString> m_variables;
    const PrintAlbum *m_album = nullptr;
    int m_counter = 1;
};

} // namespace Orbisong
