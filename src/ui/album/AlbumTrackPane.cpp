#include "ui/album/AlbumTrackPane.h"

#include "ui/album/AlbumEditText.h"

#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace Orbisong {

AlbumTrackPane::AlbumTrackPane(DraftTrackList *tracks, QWidget *parent)
    : QWidget(parent), m_tracks(tracks)
{
    auto *heading = new QLabel(tr("Track Information"), this);
    QFont font = heading->font();
    font.setBold(true);
    heading->setFont(font);
    m_number = new QLabel(this);
    m_number->setObjectName(QStringLiteral("TrackNumberLabel"));
    m_title = new QLineEdit(this);
    m_title->setObjectName(QStringLiteral("TrackTitleEdit"));
    m_other = new QPlainTextEdit(this);
    m_other->setObjectName(QStringLiteral("TrackOtherEdit"));
    m_previous = new QPushButton(tr("<< Pre&vious Track"), this);
    m_previous->setObjectName(QStringLiteral("PreviousTrackButton"));
    m_next = new QPushButton(tr("Ne&xt Track >>"), this);
    m_next->setObjectName(QStringLiteral("NextTrackButton"));
    for (QPushButton *button : {m_previous, m_next})
        button->setAutoDefault(false);

    auto *form = new QFormLayout;
    form->addRow(tr("Track:"), m_number);
    form->addRow(tr("&Title:"), m_title);
    form->addRow(tr("&Other:"), m_other);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(m_previous);
    buttons->addWidget(m_next);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(heading);
    layout->addLayout(form, 1);
    layout->addLayout(buttons);

    connect(m_previous, &QPushButton::clicked, this, [this] { showTrack(m_index - 1); });
    connect(m_next, &QPushButton::clicked, this, [this] { showTrack(m_index + 1); });
    connect(m_title, &QLineEdit::textEdited, this, &AlbumTrackPane::edit);
    connect(m_other, &QPlainTextEdit::textChanged, this, &AlbumTrackPane::edit);
}

void AlbumTrackPane::showTrack(int index)
{
    const int count = int(m_tracks->size());
    m_index = qBound(0, index, qMax(0, count - 1));
    const bool valid = m_index < count;
    m_showing = true;
    m_number->setText(valid ? tr("%1 of %2").arg(m_index + 1).arg(count) : QString());
    m_title->setText(valid ? m_tracks->at(m_index).title : QString());
    m_other->setPlainText(valid ? toEditorText(m_tracks->at(m_index).notes) : QString());
    m_showing = false;
    m_title->setEnabled(valid);
    m_other->setEnabled(valid);
    m_previous->setEnabled(m_index > 0);
    m_next->setEnabled(m_index + 1 < count);
}

void AlbumTrackPane::edit()
{
    if (m_showing || m_index >= m_tracks->size())
        return;
    DraftTrack &track = (*m_tracks)[m_index];
    track.title = m_title->text();
    track.notes = fromEditorText(m_other->toPlainText());
}

} // namespace Orbisong
