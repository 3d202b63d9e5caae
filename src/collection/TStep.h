#pragma once

#include <QString>

namespace Orbisong {

// One range of the disc inside a playlist: frames start..end, end exclusive.
class TStep
{
public:
    // Takes the next serial of the process-wide step counter.
    TStep(const QString &title = {}, int start = 0, int end = 0);

    // A stored start or end with this bit set holds a track number instead of a frame:
    // converted albums name whole tracks, and reading the album places them on the disc.
    static constexpr int TrackForm = int(0x80000000u);

    int serial() const { return m_serial; }
    // The serial as the playlist lists the step: 8 upper-case hexadecimal digits.
    QString key() const;

    QString title;  // empty: the track's own title is shown
    QString script; // the step's "On_ItemPlay" event script (decoded)
    int start = 0;
    int end = 0;

    int length() const { return end - start; }

private:
    int m_serial = 0;
};

} // namespace Orbisong
