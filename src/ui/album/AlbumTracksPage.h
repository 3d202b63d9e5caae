#pragma once

#include "collection/DraftTrack.h"
#include "ui/album/AlbumPage.h"

class QLineEdit;
class QListWidget;
class QPlainTextEdit;

namespace Orbisong {

// "Tracks": the track list and the title and notes of the selected track.
class AlbumTracksPage : public AlbumPage
{
    Q_OBJECT

public:
    explicit AlbumTracksPage(QWidget *parent = nullptr);

    void load(const AlbumDraft &draft) override;
    void save(AlbumDraft &draft) override;

private:
    void showTrack(int row);
    void editTrack();

    DraftTrackList m_tracks;
    bool m_showing = false;
    QListWidget *m_list = nullptr;
    QLineEdit *m_title = nullptr;
    QPlainTextEdit *m_other = nullptr;
};

} // namespace Orbisong
