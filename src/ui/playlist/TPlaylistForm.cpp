#include "ui/playlist/TPlaylistForm.h"

#include "base/QuestionPort.h"
#include "collection/TPlaylist.h"
#include "player/PlayerEngine.h"
#include "player/PlaylistEditor.h"
#include "ui/playlist/TrackPicker.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QVBoxLayout>

namespace Orbisong {

TPlaylistForm::TPlaylistForm(PlayerEngine &engine, std::shared_ptr<TPlaylist> playlist,
                             QuestionPort *questions, QWidget *parent)
    : QDialog(parent), m_engine(engine), m_playlist(std::move(playlist)), m_questions(questions)
{
    setObjectName(QStringLiteral("PlaylistForm"));
    setWindowTitle(tr("Edit Playlist"));
    m_pages = new QTabWidget(this);

    auto *titlePage = new QWidget(m_pages);
    auto *titleLayout = new QVBoxLayout(titlePage);
    auto *titleLabel = new QLabel(tr("&Title:"), titlePage);
    m_title = new QLineEdit(m_playlist->title, titlePage);
    m_title->setObjectName(QStringLiteral("TitleEdit"));
    titleLabel->setBuddy(m_title);
    titleLayout->addWidget(titleLabel);
    titleLayout->addWidget(m_title);
    titleLayout->addStretch(1);
    m_pages->addTab(titlePage, tr("Title"));

    auto *tracksPage = new QWidget(m_pages);
    auto *tracksLayout = new QVBoxLayout(tracksPage);
    const CurrentAlbum &current = engine.current();
    m_picker = new TrackPicker(current.disc, current.album, tr("&Available tracks:"),
                               tr("&Include these tracks:"), tracksPage);
    m_picker->setSteps(m_playlist->steps);
    tracksLayout->addWidget(m_picker);
    m_pages->addTab(tracksPage, tr("Tracks"));

    m_ok = new QPushButton(tr("OK"), this);
    m_cancel = new QPushButton(tr("Cancel"), this);
    m_apply = new QPushButton(tr("&Apply"), this);
    m_apply->setEnabled(false);
    m_ok->setDefault(true);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(m_ok);
    buttons->addWidget(m_cancel);
    buttons->addWidget(m_apply);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(m_pages, 1);
    layout->addLayout(buttons);
    resize(460, 380);

    connect(m_title, &QLineEdit::textEdited, this, &TPlaylistForm::setModified);
    connect(m_picker, &TrackPicker::changed, this, &TPlaylistForm::setModified);
    connect(m_ok, &QPushButton::clicked, this, &TPlaylistForm::accept);
    connect(m_cancel, &QPushButton::clicked, this, &TPlaylistForm::reject);
    connect(m_apply, &QPushButton::clicked, this, &TPlaylistForm::apply);
}

void TPlaylistForm::setModified()
{
    m_apply->setEnabled(true);
}

bool TPlaylistForm::apply()
{
    const int refused =
        PlaylistEditor(m_engine).applyEdit(m_playlist, m_title->text(), m_picker->steps());
    if (refused) {
        askOrDefault(m_questions, refused, m_title->text().trimmed());
        m_pages->setCurrentIndex(0);
        m_title->setFocus();
        return false;
    }
    m_title->setText(m_playlist->title);
    m_apply->setEnabled(false);
    emit applied();
    return true;
}

void TPlaylistForm::accept()
{
    if (m_apply->isEnabled() && !apply())
        return;
    QDialog::accept();
}

} // namespace Orbisong
