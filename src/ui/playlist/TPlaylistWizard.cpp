#include "ui/playlist/TPlaylistWizard.h"

#include "base/QuestionPort.h"
#include "collection/CurrentAlbum.h"
#include "collection/PlaylistRules.h"
#include "ui/playlist/TrackPicker.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QRadioButton>
#include <QSpinBox>
#include <QVBoxLayout>

namespace Orbisong {

namespace {

constexpr int Steps = 5;

// A pane with its bold heading and the question it asks.
QVBoxLayout *paneLayout(QWidget *pane, const QString &heading, const QString &question)
{
    auto *layout = new QVBoxLayout(pane);
    auto *title = new QLabel(heading, pane);
    QFont bold = title->font();
    bold.setBold(true);
    bold.setPointSizeF(bold.pointSizeF() * 1.2);
    title->setFont(bold);
    layout->addWidget(title);
    auto *text = new QLabel(question, pane);
    text->setWordWrap(true);
    layout->addWidget(text);
    layout->addSpacing(8);
    return layout;
}

// The question of a pane whose text is filled in when the pane shows.
QLabel *questionLabel(QVBoxLayout *layout)
{
    return qobject_cast<QLabel *>(layout->itemAt(1)->widget());
}

} // namespace

TPlaylistWizard::TPlaylistWizard(const CurrentAlbum &current, QuestionPort *questions,
                                 QWidget *parent)
    : TWizardForm(tr("Add New Playlist"), parent), m_current(current), m_questions(questions),
      m_favoriteTracks(FavoriteTracks(current.album, current.disc.trackCount))
{
    setObjectName(QStringLiteral("PlaylistWizard"));
    buildTitlePane();
    buildMethodPane();
    buildTrackPanes();
    buildOrderPane();
    buildConfirmPane();
    resize(460, 360);
    start();
}

void TPlaylistWizard::buildTitlePane()
{
    m_titlePane = new QWidget(this);
    QVBoxLayout *layout =
        paneLayout(m_titlePane, tr("Title"), tr("What title should be used for the playlist?"));
    m_title = new QLineEdit(ProposePlaylistTitle(m_current.playlists), m_titlePane);
    m_title->setObjectName(QStringLiteral("TitleEdit"));
    m_title->selectAll();
    layout->addWidget(m_title);
    layout->addStretch(1);
    addPane(m_titlePane, 1, Steps);
}

void TPlaylistWizard::buildMethodPane()
{
    m_methodPane = new QWidget(this);
    QVBoxLayout *layout =
        paneLayout(m_methodPane, tr("Selection Method"), tr("How should tracks be selected?"));
    m_manual = new QRadioButton(tr("Let me select tracks from a &list."), m_methodPane);
    m_favorites = new QRadioButton(tr("Select my"), m_methodPane);
    m_count = new QSpinBox(m_methodPane);
    m_count->setObjectName(QStringLiteral("FavoritesCount"));
    m_countLabel = new QLabel(m_methodPane);
    m_countLabel->setBuddy(m_count);
    auto *row = new QHBoxLayout;
    row->addWidget(m_favorites);
    row->addWidget(m_count);
    row->addWidget(m_countLabel);
    row->addStretch(1);
    layout->addWidget(m_manual);
    layout->addLayout(row);
    layout->addStretch(1);

    const int favorites = int(m_favoriteTracks.size());
    m_count->setRange(qMin(1, favorites), favorites);
    m_count->setValue(favorites);
    m_countLabel->setText(m_count->value() == 1 ? tr("&favorite track.") : tr("&favorite tracks."));
    const bool any = favorites > 0;
    m_favorites->setEnabled(any);
    m_count->setEnabled(any);
    (any ? m_favorites : m_manual)->setChecked(true);
    connect(m_count, &QSpinBox::valueChanged, this, [this](int value) {
        m_countLabel->setText(value == 1 ? tr("&favorite track.") : tr("&favorite tracks."));
        if (value != 0)
            m_favorites->setChecked(true);
    });
    addPane(m_methodPane, 2, Steps);
}

void TPlaylistWizard::buildTrackPanes()
{
    m_manualPane = new QWidget(this);
    QVBoxLayout *manual = paneLayout(m_manualPane, tr("Tracks"),
                                     tr("Drag tracks to the right, or double-click them. Drag "
                                        "to reorder; the Delete key removes a track."));
    m_picker = new TrackPicker(m_current.disc, m_current.album, tr("Available tracks:"),
                               tr("Add these tracks:"), m_manualPane);
    manual->addWidget(m_picker, 1);
    addPane(m_manualPane, 3, Steps);

    m_favoritesPane = new QWidget(this);
    QVBoxLayout *favorites = paneLayout(m_favoritesPane, tr("Tracks"), QString());
    m_favoritesText = questionLabel(favorites);
    m_favoritesList = new QListWidget(m_favoritesPane);
    m_favoritesList->setObjectName(QStringLiteral("FavoritesList"));
    favorites->addWidget(m_favoritesList, 1);
    addPane(m_favoritesPane, 3, Steps);
}

void TPlaylistWizard::buildOrderPane()
{
    m_orderPane = new QWidget(this);
    QVBoxLayout *layout =
        paneLayout(m_orderPane, tr("Track Order"), tr("Do you want to shuffle the tracks?"));
    m_shuffleYes = new QRadioButton(tr("Yes."), m_orderPane);
    m_shuffleNo = new QRadioButton(tr("No."), m_orderPane);
    m_shuffleNo->setChecked(true);
    layout->addWidget(m_shuffleYes);
    layout->addWidget(m_shuffleNo);
    layout->addStretch(1);
    addPane(m_orderPane, 4, Steps);
}

void TPlaylistWizard::buildConfirmPane()
{
    m_confirmPane = new QWidget(this);
    QVBoxLayout *layout = paneLayout(m_confirmPane, tr("Confirm"), QString());
    m_confirmText = questionLabel(layout);
    layout->addStretch(1);
    addPane(m_confirmPane, 5, Steps);
}

QString TPlaylistWizard::title() const
{
    return m_title->text().trimmed();
}

bool TPlaylistWizard::favoritesChosen() const
{
    return m_favorites->isChecked() && m_favorites->isEnabled();
}

QList<int> TPlaylistWizard::tracks() const
{
    if (favoritesChosen())
        return m_favoriteTracks.mid(0, m_count->value());
    return m_picker->tracks();
}

bool TPlaylistWizard::shuffle() const
{
    return m_shuffleYes->isChecked();
}

void TPlaylistWizard::showFavorites()
{
    const int count = m_count->value();
    m_favoritesText->setText(
        tr("The following %1 track(s) will be added to the playlist.").arg(count));
    m_favoritesList->clear();
    for (int track : m_favoriteTracks.mid(0, count)) {
        const QString title = m_current.album.trackTitles[std::size_t(track)];
        m_favoritesList->addItem(title.isEmpty() ? tr("Track ") + QString::number(track) : title);
    }
}

void TPlaylistWizard::showConfirmation()
{
    const int count = int(tracks().size());
    m_confirmText->setText(
        tr("The playlist \"%1\" will be made of %n track(s)%2.\n\nClick Finish to add it.", nullptr,
           count)
            .arg(title(), shuffle() ? tr(" in random order") : QString()));
}

QWidget *TPlaylistWizard::nextPane(QWidget *pane)
{
    if (pane == m_methodPane) {
        if (!favoritesChosen())
            return m_manualPane;
        showFavorites();
        return m_favoritesPane;
    }
    if (pane == m_manualPane || pane == m_favoritesPane)
        return m_orderPane;
    if (pane == m_orderPane) {
        showConfirmation();
        return m_confirmPane;
    }
    return TWizardForm::nextPane(pane);
}

QWidget *TPlaylistWizard::previousPane(QWidget *pane)
{
    if (pane == m_orderPane)
        return favoritesChosen() ? m_favoritesPane : m_manualPane;
    if (pane == m_favoritesPane)
        return m_methodPane;
    if (pane == m_confirmPane)
        return m_orderPane;
    return TWizardForm::previousPane(pane);
}

bool TPlaylistWizard::leavePane(QWidget *pane)
{
    if (pane != m_titlePane)
        return true;
    const int refused = CheckPlaylistTitle(m_current.playlists, m_title->text());
    if (refused == 0)
        return true;
    askOrDefault(m_questions, refused, title());
    m_title->setFocus();
    return false;
}

} // namespace Orbisong
