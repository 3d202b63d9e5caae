#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

#include <optional>

namespace Orbisong {

// What the disc-image probe printed about an image, checked before the player trusts it: the
// probe ran libcdio on a file somebody else wrote, so its table of contents is input too.
class ImageProbeReport
{
public:
    // Frames on the longest disc an image may describe (99 minutes).
    static constexpr int MaxFrames = 99 * 60 * 75;

    // Reads the probe's output. Empty, with `error` saying why, when a line is malformed or
    // the table is not a disc's: 1 to 99 tracks numbered on from the first, starts ascending
    // within 0..MaxFrames, a lead-out within them. A lead-out before a track's start is left
    // to the caller: it means a data file shorter than its sheet, which it reports as such.
    static std::optional<ImageProbeReport> parse(const QByteArray &output, QString *error);

    int firstTrack() const { return m_first; }
    const QList<int> &starts() const { return m_starts; }
    const QList<bool> &audio() const { return m_audio; }
    int leadOut() const { return m_leadOut; }

private:
    int m_first = 0;
    QList<int> m_starts;
    QList<bool> m_audio;
    int m_leadOut = -1;
};

} // namespace Orbisong
