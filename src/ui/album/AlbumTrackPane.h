#pragma once

#include "collection/DraftTrack.h"

#include <QWidget>

class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;

namespace Orbisong {

// The album wizard's track editor: one track at a time, with its own buttons to the
// previous and next track. It edits the list it is given in place.
class AlbumTrackPane : public QWidget
{
    Q_OBJECT

public:
    explicit AlbumTrackPane(DraftTrackList *tracks, QWidget *parent = nullptr);

    // Shows track `index` (from 0); the list may have changed since.
    void showTrack(int index);
    int currentTrack() const { return m_index; }
    QLineEdit *titleEdit() const { return m_title; }
    QPlainTextEdit *otherEdit() const { return m_other; }
    QPushButton *previousButton() const { return m_previous; }
    QPushButton *nextButton() const { return m_next; }

private:
    void edit();

    DraftTrackList *m_tracks;
    int m_index = 0;
    bool m_showing = false;
    QLabel *m_number = nullptr;
    QLineEdit *m_title = nullptr;
    QPlainTextEdit *m_other = nullptr;
    QPushButton *m_previous = nullptr;
    QPushButton *m_next = nullptr;
};

} // namespace Orbisong
