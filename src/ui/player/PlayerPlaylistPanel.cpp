#include "ui/player/PlayerPlaylistPanel.h"

#include "player/PlayerEngine.h"
#include "ui/player/PlayerHints.h"
#include "ui/player/TPlaylistList.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QTabBar>
#include <QToolButton>
#include <QVBoxLayout>

namespace Orbisong {

PlayerPlaylistPanel::PlayerPlaylistPanel(PlayerHints &hints, QWidget *parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("PlaylistPanel"));
    m_list = new TPlaylistList(this);
    hints.add(m_list, tr("Tracks in the current playlist"));
    // Double-clicks have a setting of their own; Enter still plays through the key handler.
    disconnect(m_list, &QListWidget::itemActivated, nullptr, nullptr);

    // A first start on a machine without a CD drive would otherwise show an empty window.
    m_noDriveHint = new QLabel(
        tr("<p><b>No CD drive or disc image is open.</b></p>"
           "<p>Open a CUE, TOC or NRG disc image with <b>File &gt; Open Disc Image...</b></p>"
           "<p>or try the demo disc: start the player with <tt>orbisong --demo</tt>.</p>"),
        this);
    m_noDriveHint->setObjectName(QStringLiteral("NoDriveHint"));
    m_noDriveHint->setAlignment(Qt::AlignCenter);
    m_noDriveHint->setWordWrap(true);
    m_noDriveHint->setMargin(12);
    m_noDriveHint->hide();

    m_editPanel = new QWidget(this);
    m_editPanel->setObjectName(QStringLiteral("EditPanel"));
    m_tabs = new QTabBar(m_editPanel);
    m_tabs->setObjectName(QStringLiteral("PlaylistTab"));
    m_tabs->setShape(QTabBar::RoundedSouth);
    m_tabs->setDrawBase(false);
    m_tabs->setExpanding(false);
    m_tabs->setElideMode(Qt::ElideRight);
    hints.add(m_tabs, tr("Playlists defined for this album"));

    const struct
    {
        const char *name;
        const char *icon;
        QString hint;
    } buttons[ButtonCount] = {
        {"AddButton", "add", tr("Add a custom playlist")},
        {"EditButton", "edit", tr("Edit this playlist")},
        {"RemoveButton", "remove", tr("Remove this playlist")},
        {"RemoteCDDBButton", "cddbremote", tr("Query CDDB database server")},
        {"CDDBStopButton", "cddbstop", tr("Stop remote CDDB query")},
        {"LocalCDDBButton", "cddblocal", tr("Query local CDDB database files")},
        {"SendCDDBButton", "cddbsend", tr("Send to CDDB database")},
    };
    auto *edit = new QHBoxLayout(m_editPanel);
    edit->setContentsMargins(4, 0, 4, 2);
    edit->setSpacing(1);
    edit->addWidget(m_tabs, 1);
    for (int i = 0; i < ButtonCount; ++i) {
        m_buttons[i] =
            hints.iconButton(QString::fromLatin1(buttons[i].name),
                             QString::fromLatin1(buttons[i].icon), buttons[i].hint, m_editPanel);
        m_buttons[i]->setIconSize(QSize(18, 18));
        edit->addWidget(m_buttons[i]);
    }
    m_buttons[CddbStop]->hide();

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(m_list, 1);
    layout->addWidget(m_noDriveHint, 1);
    layout->addWidget(m_editPanel);
}

void PlayerPlaylistPanel::applyEnabled(const PlayerDisplay::Enabled &enabled)
{
    for (Button b : {Add, RemoteCddb, LocalCddb, SendCddb})
        m_buttons[b]->setEnabled(enabled.audio);
    m_buttons[Edit]->setEnabled(enabled.audio && enabled.custom);
    m_buttons[Remove]->setEnabled(enabled.audio && enabled.custom);
}

void PlayerPlaylistPanel::showRemoteLookupRunning(bool running)
{
    m_buttons[CddbStop]->setVisible(running);
    m_buttons[RemoteCddb]->setVisible(!running);
}

void PlayerPlaylistPanel::showSteps(PlayerEngine *engine, const PlayerDisplay &display)
{
    const int selected = m_list->currentRow();
    QSignalBlocker block(m_list);
    m_list->clear();
    const bool noDrive = !engine || engine->noDrive();
    m_noDriveHint->setVisible(noDrive);
    m_list->setVisible(!noDrive);
    if (!engine)
        return;
    const QList<TStep> &steps = engine->list();
    const DiscInfo &disc = engine->current().disc;
    for (int i = 0; i < steps.size(); ++i) {
        const TStep &step = steps.at(i);
        const int track = display.trackOfFrame(step.start);
        const int trackStart = disc.trackOffsets[qBound(0, track, DiscInfo::MaxTracks)];
        auto *item = new QListWidgetItem(display.stepTitle(i));
        item->setData(TPlaylistList::SerialRole, step.serial());
        item->setData(TPlaylistList::CurrentRole, i == engine->currentIndex());
        item->setData(TPlaylistList::TrackRole, track);
        item->setData(TPlaylistList::StartRole, step.start - trackStart);
        item->setData(TPlaylistList::EndRole, step.end - trackStart);
        m_list->addItem(item);
    }
    if (selected >= 0 && selected < m_list->count())
        m_list->setCurrentRow(selected);
    else if (engine->currentIndex() >= 0 && engine->currentIndex() < m_list->count())
        m_list->setCurrentRow(engine->currentIndex());
}

void PlayerPlaylistPanel::showTabs(PlayerEngine *engine)
{
    QSignalBlocker block(m_tabs);
    while (m_tabs->count() > 0)
        m_tabs->removeTab(0);
    if (!engine || !engine->audioPresent())
        return;
    int current = 0;
    for (const auto &playlist : std::as_const(engine->current().playlists)) {
        const int index = m_tabs->addTab(playlist->title);
        if (playlist->title.compare(engine->currentPlaylist(), Qt::CaseInsensitive) == 0)
            current = index;
    }
    m_tabs->setCurrentIndex(current);
}

} // namespace Orbisong
