#pragma once

#include "collection/DraftTrack.h"
#include "collection/WebLinkItem.h"

#include <QDateTime>
#include <QString>
#include <QStringList>

#include <array>

namespace Orbisong {

// The value of the custom field `name` among "name=value" lines (the name in any case).
QString CustomValue(const QStringList &customData, const QString &name);

class Collection;
struct AlbumInfo;

// The editable copy of one album that the album properties window works on: loaded from the
// album in the drive or from the stored album, changed page by page, and written back field
// by field with the collection's setters.
class AlbumDraft
{
public:
    static constexpr int EventCount = 2; // "On_AlbumInsert", "On_AlbumEject"

    // The script an empty album event shows: left unchanged, it is stored empty again.
    static QString eventTemplate();
    static bool isEventTemplate(const QString &script);

    // Loads the album `albumId`: the album in the drive from memory, any other from the
    // collection file. False when the collection does not know the album.
    bool load(Collection &collection, const QString &albumId);
    // Writes every field with the setters under one open collection, the album events (left
    // at the template: empty), and the statistics reset when "Clear All" was used.
    void apply(Collection &collection, const QDateTime &now = QDateTime::currentDateTime());

    QString albumId() const { return m_albumId; }
    bool inDrive() const { return m_inDrive; }

    // The value of a custom field, and setting it (an empty value removes its line).
    QString customValue(const QString &name) const;
    void setCustomValue(const QString &name, const QString &value);

    // The album event as the Scripts page shows it: the template when it is empty.
    QString eventText(int n) const;

    // Tracks with at least one play, most played first (ties in track order): their numbers.
    QList<int> mostPlayedTracks() const;
    // Zeroes what the Statistics page shows; the stored statistics follow on apply.
    void clearStatistics();
    bool statisticsCleared() const { return m_clearAll; }

    // A recorded insert as the Statistics page lists it: "h:nn am/pm" for today, else the
    // long date before it. Text that is not a date and time is shown as it is.
    static QString insertTimeText(const QString &stored, const QDateTime &now);

    QString title;
    QString artist;
    QString copyright;
    bool lastNameFirst = false;
    QString binder;
    QString category;
    QString year;
    QString index;
    QString owner;
    QString other;
    int revision = 1;
    int source = 0;
    QStringList customData; // "name=value" lines
    QString comments;       // plain text
    DraftTrackList tracks;
    WebLinkList webLinks;
    std::array<QString, EventCount> events; // plain text, empty when none
    int insertCount = 0;
    QString firstInsert;
    QStringList recentInserts;

private:
    void takeAlbum(const AlbumInfo &album, const WebLinkList &links, int trackCount);
    void clearStoredStatistics(Collection &collection);

    QString m_albumId;
    bool m_inDrive = false;
    bool m_clearAll = false;
};

} // namespace Orbisong
