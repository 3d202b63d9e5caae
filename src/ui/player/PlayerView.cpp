#include "ui/player/PlayerView.h"

#include "collection/AlbumCover.h"
#include "collection/Settings.h"
#include "player/DiscRecognizer.h"
#include "player/PlayerDisplay.h"
#include "player/PlayerEngine.h"
#include "ui/player/PlayerControlPanel.h"
#include "ui/player/PlayerDetailPanel.h"
#include "ui/player/PlayerHints.h"
#include "ui/player/PlayerMenus.h"
#include "ui/player/PlayerMiniPanel.h"
#include "ui/player/PlayerPlaylistPanel.h"
#include "ui/player/PlayerStatusPanel.h"
#include "ui/player/PlayerTray.h"
#include "ui/player/TMovieForm.h"

#include <QLabel>
#include <QToolButton>

namespace Orbisong {

namespace {

const QString RemoteLookupAnimation = QStringLiteral("AVI_RCDDB_GET");
const QString PlayAnimation = QStringLiteral("AVI_PLAY");

} // namespace

PlayerView::PlayerView(const Settings &settings, const Parts &parts)
    : m_settings(settings), m_parts(parts)
{
}

PlayerDisplay PlayerView::display() const
{
    return PlayerDisplay(m_engine, m_settings);
}

void PlayerView::refreshAll()
{
    refreshTabs();
    refreshList();
    refreshHeader();
    refreshSummary();
    refreshDisplay();
    refreshButtons();
    refreshAnimation();
}

void PlayerView::refreshButtons()
{
    const PlayerDisplay::Enabled enabled = display().enabled();
    m_parts.control->applyEnabled(enabled);
    m_parts.detail->applyEnabled(enabled);
    m_parts.playlist->applyEnabled(enabled);
    m_parts.mini->applyEnabled(enabled);
    m_parts.menus->applyEnabled(enabled);
}

void PlayerView::refreshDisplay()
{
    const PlayerDisplay shown = display();
    const QString time = shown.timeText();
    m_parts.control->showTime(time);
    m_parts.mini->showTime(time);
    const QString caption = shown.caption();
    const QString info = shown.shownInfoLine();
    if (caption != m_shownCaption) {
        m_shownCaption = caption;
        m_parts.window->setWindowTitle(caption);
    }
    if (info != m_shownInfo) {
        m_shownInfo = info;
        m_parts.control->userLabel()->setText(info);
    }
    m_parts.tray->showMainTip(shown.trayTip(info));
    if (m_engine && shown.enabled().steps) {
        const int index = m_engine->currentIndex();
        const int last = int(m_engine->list().size()) - 1;
        m_parts.tray->showStepTips(shown.stepTitle(qMax(0, index - 1)),
                                   shown.stepTitle(qMin(last, index + 1)));
    }
    const bool playing = m_engine && m_engine->playing();
    m_parts.control->showPlaying(playing);
    m_parts.mini->showPlaying(playing);
}

void PlayerView::refreshHeader()
{
    QString title;
    QString artist;
    QString weblinkHint = tr("Artist on the Internet");
    QString cover;
    if (m_engine && m_engine->audioPresent()) {
        const AlbumInfo &album = m_engine->current().album;
        cover = AlbumCover::path(m_engine->current().disc.id);
        title = album.title;
        artist = album.artist;
        if (!album.copyright.isEmpty())
            artist += QStringLiteral(" - ") + album.copyright;
        if (!album.artist.isEmpty())
            weblinkHint = album.artist + tr(" on the Internet");
    }
    m_parts.detail->showAlbum(title, artist);
    m_parts.detail->showCover(cover);
    m_parts.hints->setText(m_parts.control->button(PlayerControlPanel::Weblink), weblinkHint);
}

void PlayerView::refreshSummary()
{
    m_parts.status->showSummary(display().summary());
}

void PlayerView::refreshList()
{
    m_parts.playlist->showSteps(m_engine, display());
}

void PlayerView::refreshTabs()
{
    m_parts.playlist->showTabs(m_engine);
}

void PlayerView::refreshAnimation()
{
    const bool playing = m_engine && m_engine->playing();
    if (m_animations && playing && !m_animationQueue.contains(PlayAnimation))
        m_animationQueue.append(PlayAnimation);
    else if (!playing)
        m_animationQueue.removeAll(PlayAnimation);
    const QString first = m_animationQueue.isEmpty() ? QString() : m_animationQueue.first();
    m_parts.detail->showAnimation(first.isEmpty() ? QString() : AnimationResource(first));
}

void PlayerView::refreshRemoteLookups()
{
    const bool running = m_recognizer && m_recognizer->remoteLookupRunning();
    m_parts.playlist->showRemoteLookupRunning(running);
    if (running || m_animationQueue.removeAll(RemoteLookupAnimation) > 0)
        refreshAnimation();
}

void PlayerView::showRemoteLookupStarted()
{
    m_animationQueue.removeAll(RemoteLookupAnimation);
    if (m_animations)
        m_animationQueue.prepend(RemoteLookupAnimation);
    refreshRemoteLookups();
}

} // namespace Orbisong
