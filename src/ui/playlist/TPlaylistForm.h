#pragma once

#include <QDialog>

#include <memory>

class QLineEdit;
class QPushButton;
class QTabWidget;

namespace Orbisong {

class PlayerEngine;
class QuestionPort;
class TPlaylist;
class TrackPicker;

// "Edit Playlist": the title and the steps of one playlist of the album in the drive. Any
// change enables "&Apply"; "OK" applies what is pending and closes.
class TPlaylistForm : public QDialog
{
    Q_OBJECT

public:
    TPlaylistForm(PlayerEngine &engine, std::shared_ptr<TPlaylist> playlist,
                  QuestionPort *questions, QWidget *parent = nullptr);

    const std::shared_ptr<TPlaylist> &playlist() const { return m_playlist; }
    QTabWidget *pages() const { return m_pages; }
    QLineEdit *titleEdit() const { return m_title; }
    TrackPicker *picker() const { return m_picker; }
    QPushButton *applyButton() const { return m_apply; }
    QPushButton *okButton() const { return m_ok; }

    // Applies the pending changes; false when the title was refused (the window asked why).
    bool apply();
    void accept() override;

signals:
    // The playlist changed: the player shows its new title and steps.
    void applied();

private:
    void setModified();

    PlayerEngine &m_engine;
    std::shared_ptr<TPlaylist> m_playlist;
    QuestionPort *m_questions;
    QTabWidget *m_pages = nullptr;
    QLineEdit *m_title = nullptr;
    TrackPicker *m_picker = nullptr;
    QPushButton *m_ok = nullptr;
    QPushButton *m_cancel = nullptr;
    QPushButton *m_apply = nullptr;
};

} // namespace Orbisong
