#include "cddb/CddbSubmission.h"

#include "collection/Collection.h"
#include "collection/DiscId.h"
#include "collection/Settings.h"
#include "collection/StoredCounts.h"
#include "collection/TCfgFile.h"

#include <QStringList>

#include <algorithm>
#include <climits>

namespace Orbisong {

const QString CddbSubmissionMailbox = QStringLiteral("cddb-submit@gnudb.org");

namespace {

const QChar Cr(13);
const QChar LinkSeparator(14);

QString key(const QString &stem, int n)
{
    return stem + QStringLiteral("[%1]").arg(n);
}

bool isOffset(const QString &text)
{
    bool ok = false;
    const int value = text.trimmed().toInt(&ok);
    return ok && value >= 0;
}

} // namespace

CddbSubmission CddbSubmission::read(Collection &collection, const QString &albumId,
                                    const Settings &settings)
{
    CddbSubmission s;
    s.albumId = albumId.trimmed().toUpper();
    if (!collection.OpenCollectionFile())
        return s;
    const AlbumIndexNode *node = collection.FindAlbum(s.albumId);
    TCfgFile *cfg = collection.file();
    if (!node || !cfg) {
        collection.CloseCollection();
        return s;
    }
    const QString block = node->blockName;
    const bool named = !node->artist.trimmed().isEmpty() && !node->title.trimmed().isEmpty();
    const QString tracks = QStringLiteral("Tracks");
    const QString album = QStringLiteral("Album");
    s.discId = s.albumId.left(8).toLower();
    s.category = node->category.trimmed();
    CddbWriteInput &in = s.input;
    in.discId = s.discId;
    in.utf8 = settings.cddbProtocolLevel >= 6;
    in.artist = cfg->ReadString(block, album, QStringLiteral("AR"), {});
    in.title = cfg->ReadString(block, album, QStringLiteral("TL"), {});
    in.revision = cfg->ReadInteger(block, album, QStringLiteral("RV"), 1);
    in.submitComments = settings.GetOptionFlag(_GLOB_OPTION_SUBMITCOMMENTS);
    in.submitWebLinks = settings.GetOptionFlag(_GLOB_OPTION_SUBMITWEBLINKS);
    if (in.submitComments)
        in.comments = cfg->ReadString(block, QStringLiteral("Comments"), QStringLiteral("TX"), {});

    const int count = DiscIdTrackCount(in.discId);
    s.storedTrackCount = cfg->ReadInteger(block, tracks, QStringLiteral("CT"), 0);
    QStringList titles, notes, offsets;
    bool firstOffset = true;
    bool allOffsets = true;
    for (int n = 1; n <= count; ++n) {
        titles.append(cfg->ReadString(block, tracks, key(QStringLiteral("TT"), n), {}));
        notes.append(cfg->ReadString(block, tracks, key(QStringLiteral("TM"), n), {}));
        const QString offset = cfg->ReadString(block, tracks, key(QStringLiteral("TO"), n), {});
        if (!isOffset(offset)) {
            firstOffset = firstOffset && n != 1;
            allOffsets = false;
        }
        offsets.append(offset.trimmed());
    }
    in.trackTitles = titles.join(Cr);
    in.extendedTrackData = notes.join(Cr);
    in.trackOffsets = offsets.join(Cr);
    // The last track's start and length come from the file: the end is bounded to a disc.
    const qint64 lastStart = s.albumId.mid(8).toInt(nullptr, 16);
    const qint64 lastLength = std::clamp(
        cfg->ReadInteger(block, tracks, QStringLiteral("TL[%1]").arg(count), 0), 0, MaxTocFrame);
    in.discLengthSeconds = int(std::min<qint64>(lastStart + lastLength + 1, MaxTocFrame + 1) / 75);

    if (in.submitWebLinks) {
        QStringList links;
        const QString section = QStringLiteral("WebLink");
        const int linkCount = StoredCount(*cfg, block, section, QStringLiteral("WU"), INT_MAX);
        for (int n = 1; n <= linkCount; ++n)
            links.append(
                cfg->ReadString(block, section, key(QStringLiteral("WU"), n), {}) + LinkSeparator +
                cfg->ReadString(block, section, key(QStringLiteral("WT"), n), {}).trimmed());
        in.webLinks = links.join(Cr);
    }
    collection.CloseCollection();

    const bool anyTitle = std::any_of(titles.begin(), titles.end(),
                                      [](const QString &t) { return !t.trimmed().isEmpty(); });
    if (count <= 0 || s.storedTrackCount != count)
        s.problem = TrackCountMismatch;
    else if (!firstOffset)
        s.problem = NoFirstOffset;
    else if (!allOffsets)
        s.problem = MissingOffset;
    else if (!anyTitle || !named)
        s.problem = Incomplete;
    else
        s.problem = Ready;
    return s;
}

QString CddbSubmission::problemHeading() const
{
    return problem == Ready ? QString() : QStringLiteral("Cannot submit this album.");
}

QString CddbSubmission::problemText() const
{
    switch (problem) {
    case Ready:
        return {};
    case AlbumMissing:
        return QStringLiteral("The album %1 is not in the collection.").arg(albumId);
    case Incomplete:
        return QStringLiteral("You must enter the album's title, artist, and track titles "
                              "before Orbisong can upload this data.");
    case NoFirstOffset:
        return QStringLiteral("The start of track 1 is not known for this album, so its table "
                              "of contents cannot be sent. Insert the disc so that Orbisong "
                              "reads it, then submit the album again.");
    case MissingOffset:
        return QStringLiteral("The start of some tracks is not known for this album, so its "
                              "table of contents cannot be sent. Insert the disc so that "
                              "Orbisong reads it, then submit the album again.");
    case TrackCountMismatch:
        return QStringLiteral("The album holds %1 tracks, but its disc id %2 names %3. Insert "
                              "the disc so that Orbisong reads it, then submit the album again.")
            .arg(storedTrackCount)
            .arg(discId)
            .arg(DiscIdTrackCount(discId));
    }
    return {};
}

QString CddbSubmission::entry(int year) const
{
    return WriteCddbEntry(input, year);
}

QString CddbSubmission::subject() const
{
    return QStringLiteral("cddb ") + category.toLower() + QLatin1Char(' ') + discId;
}

} // namespace Orbisong
