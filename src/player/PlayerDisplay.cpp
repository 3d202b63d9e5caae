#include "player/PlayerDisplay.h"

#include "collection/Settings.h"
#include "player/PlayerEngine.h"

namespace Orbisong {

namespace {

// The window caption when formats are off.
const QString PlainCaption = QStringLiteral("Orbisong 4.0");
constexpr int TipLength = 79;

} // namespace

PlayerDisplay::PlayerDisplay(PlayerEngine *engine, const Settings &settings)
    : m_engine(engine), m_settings(settings)
{
}

bool PlayerDisplay::hasSteps() const
{
    return m_engine && m_engine->audioPresent() && !m_engine->list().isEmpty();
}

bool PlayerDisplay::usesFormats() const
{
    return m_settings.GetOptionFlag(_GLOB_OPTION_USEFORMATSTRINGS);
}

int PlayerDisplay::trackOfFrame(int frames) const
{
    if (!m_engine)
        return 0;
    const DiscInfo &disc = m_engine->current().disc;
    for (int t = disc.trackCount; t >= 1; --t) {
        if (frames >= disc.trackOffsets[t])
            return t;
    }
    return disc.trackCount > 0 ? 1 : 0;
}

QString PlayerDisplay::stepTitle(int index) const
{
    if (!m_engine || index < 0 || index >= m_engine->list().size())
        return {};
    const TStep &step = m_engine->list().at(index);
    const QString name = step.title.trimmed();
    if (!name.isEmpty())
        return name;
    return m_engine->current()
        .album.trackTitles[qBound(0, trackOfFrame(step.start), AlbumInfo::MaxTracks)];
}

FormatContext PlayerDisplay::formatContext() const
{
    FormatContext c;
    if (!m_engine)
        return c;
    const AlbumInfo &album = m_engine->current().album;
    c.audio = m_engine->audioPresent();
    c.artist = album.artist;
    c.binder = album.binder;
    c.category = album.category;
    c.owner = album.owner;
    c.copyright = album.copyright;
    c.title = album.title;
    c.year = album.year;
    c.playlistName = m_engine->currentPlaylist();
    c.stepCount = int(m_engine->list().size());
    c.stepNumber = m_engine->currentIndex() + 1;
    if (c.audio && !m_engine->list().isEmpty()) {
        const int frames = m_engine->displayTime(m_settings.timeFormat, m_engine->position());
        c.minutes = frames < 0 ? 0 : frames / 4500;
        c.seconds = frames < 0 ? 0 : (frames / 75) % 60;
        c.track = m_engine->currentTrack();
    }
    if (c.track > 0 && c.track <= AlbumInfo::MaxTracks)
        c.trackNotes = album.trackNotes[c.track];
    c.stepTitle = stepTitle(m_engine->currentIndex());
    return c;
}

QString PlayerDisplay::timeText() const
{
    if (!hasSteps())
        return QStringLiteral("00 00:00");
    return TimeButtonText(m_engine->currentTrack(),
                          m_engine->displayTime(m_settings.timeFormat, m_engine->position()));
}

QString PlayerDisplay::caption() const
{
    return usesFormats() ? ExpandFormat(m_settings.captionFormat, formatContext()) : PlainCaption;
}

QString PlayerDisplay::infoLine() const
{
    if (usesFormats())
        return ExpandFormat(m_settings.userFormat, formatContext());
    return m_engine ? stepTitle(m_engine->currentIndex()) : QString();
}

QString PlayerDisplay::shownInfoLine() const
{
    return hasSteps() || usesFormats() ? infoLine() : QString();
}

QString PlayerDisplay::trayTip(const QString &info) const
{
    QString tip = info;
    if (!usesFormats() && m_engine && m_engine->audioPresent()) {
        const AlbumInfo &album = m_engine->current().album;
        tip =
            album.artist + QStringLiteral(" - ") + album.title + QStringLiteral(" (") + info + u')';
    }
    return tip.left(TipLength);
}

QString PlayerDisplay::summary() const
{
    qint64 total = 0;
    int count = 0;
    if (m_engine) {
        for (const TStep &step : std::as_const(m_engine->list()))
            total += step.length();
        count = int(m_engine->list().size());
    }
    return PlaylistSummary(total, count);
}

PlayerDisplay::Enabled PlayerDisplay::enabled() const
{
    Enabled e;
    e.drive = m_engine && !m_engine->noDrive();
    e.audio = m_engine && m_engine->audioPresent();
    e.steps = hasSteps();
    if (e.steps) {
        const int index = m_engine->currentIndex();
        e.next = index < m_engine->list().size() - 1 ||
                 (m_engine->current().album.flags & AlbumFlagRepeat) ||
                 m_settings.GetOptionFlag(_GLOB_OPTION_RANDOMDRIVE) ||
                 m_settings.GetOptionFlag(_GLOB_OPTION_RANDOMORDER);
        e.hasCurrent = index >= 0;
    }
    if (e.audio) {
        auto playlist = findPlaylist(m_engine->current().playlists, m_engine->currentPlaylist());
        e.custom = playlist && !playlist->isAlbumPlaylist();
    }
    return e;
}

} // namespace Orbisong
