#include "ui/album/AlbumTracksPage.h"

#include "collection/AlbumDraft.h"
#include "ui/album/AlbumEditText.h"

#include <QFormLayout>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QVBoxLayout>

namespace Orbisong {

namespace {

QString rowText(int number, const DraftTrack &track)
{
    return QString::number(number) + QStringLiteral(". ") + track.title;
}

} // namespace

AlbumTracksPage::AlbumTracksPage(QWidget *parent) : AlbumPage(parent)
{
    m_list = new QListWidget(this);
    m_list->setObjectName(QStringLiteral("TrackList"));
    m_title = new QLineEdit(this);
    m_title->setObjectName(QStringLiteral("TrackTitleEdit"));
    m_other = new QPlainTextEdit(this);
    m_other->setObjectName(QStringLiteral("TrackOtherEdit"));
    m_other->setMaximumHeight(80);
    auto *form = new QFormLayout;
    form->addRow(tr("&Title:"), m_title);
    form->addRow(tr("Ot&her:"), m_other);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(m_list, 1);
    layout->addLayout(form);

    connect(m_list, &QListWidget::currentRowChanged, this, &AlbumTracksPage::showTrack);
    connect(m_title, &QLineEdit::textEdited, this, &AlbumTracksPage::editTrack);
    connect(m_other, &QPlainTextEdit::textChanged, this, &AlbumTracksPage::editTrack);
}

void AlbumTracksPage::load(const AlbumDraft &draft)
{
    m_tracks = draft.tracks;
    const int row = qMax(0, m_list->currentRow());
    m_list->clear();
    for (int n = 1; n <= m_tracks.size(); ++n)
        m_list->addItem(rowText(n, m_tracks.at(n - 1)));
    m_list->setCurrentRow(qMin(row, int(m_tracks.size()) - 1));
    showTrack(m_list->currentRow());
}

void AlbumTracksPage::save(AlbumDraft &draft)
{
    for (qsizetype i = 0; i < m_tracks.size() && i < draft.tracks.size(); ++i) {
        draft.tracks[i].title = m_tracks.at(i).title;
        draft.tracks[i].notes = m_tracks.at(i).notes;
    }
}

void AlbumTracksPage::showTrack(int row)
{
    m_showing = true;
    const bool valid = row >= 0 && row < m_tracks.size();
    m_title->setText(valid ? m_tracks.at(row).title : QString());
    m_other->setPlainText(valid ? toEditorText(m_tracks.at(row).notes) : QString());
    m_title->setEnabled(valid);
    m_other->setEnabled(valid);
    m_showing = false;
}

void AlbumTracksPage::editTrack()
{
    const int row = m_list->currentRow();
    if (m_showing || row < 0 || row >= m_tracks.size())
        return;
    DraftTrack &track = m_tracks[row];
    track.title = m_title->text();
    track.notes = fromEditorText(m_other->toPlainText());
    m_list->item(row)->setText(rowText(row + 1, track));
    emit changed();
}

} // namespace Orbisong
