#pragma once

#include "collection/TStep.h"

namespace Orbisong {

struct AlbumInfo;
struct DiscInfo;

// What the item window shows of a step and how its entries become the step again. Positions
// are edited within the track that holds the step's start, as offsets from that track's start.
class StepProperties
{
public:
    StepProperties(const DiscInfo &disc, const AlbumInfo &album, const TStep &step);

    // The script an empty "On_ItemPlay" script is shown as; stored back empty.
    static QString scriptTemplate();

    int track() const { return m_track; }
    int trackStart() const { return m_trackStart; }
    int trackLength() const { return m_trackLength; }
    QString trackTitle() const { return m_trackTitle; }
    // The step's start and end as slider values, held within 0..trackLength().
    int startOffset() const { return m_startOffset; }
    int endOffset() const { return m_endOffset; }
    QString title() const { return m_title; }
    QString shownScript() const { return m_script; }

    // Puts the entries into `step`. An end before the start is refused: false, and the step
    // is left as it was. A title that is empty or the track's own keeps the step untitled,
    // so that the track's title shows through, even after a later rename of the track.
    bool apply(TStep &step, const QString &title, const QString &script, int startOffset,
               int endOffset) const;

private:
    int m_track = 1;
    int m_trackStart = 0;
    int m_trackLength = 0;
    int m_startOffset = 0;
    int m_endOffset = 0;
    QString m_trackTitle;
    QString m_title;
    QString m_script;
};

} // namespace Orbisong
