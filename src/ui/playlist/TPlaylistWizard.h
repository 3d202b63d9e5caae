#pragma once

#include "ui/common/TWizardForm.h"

class QLabel;
class QLineEdit;
class QListWidget;
class QRadioButton;
class QSpinBox;

namespace Orbisong {

class QuestionPort;
class TrackPicker;
struct CurrentAlbum;

// "Add New Playlist": a title, the tracks (picked from a list or the most played ones) and
// whether to shuffle them. The wizard only asks; its owner makes the playlist on "Finish".
class TPlaylistWizard : public TWizardForm
{
    Q_OBJECT

public:
    TPlaylistWizard(const CurrentAlbum &current, QuestionPort *questions,
                    QWidget *parent = nullptr);

    // The trimmed title, the tracks in their order before any shuffle, and the choice.
    QString title() const;
    QList<int> tracks() const;
    bool shuffle() const;
    bool favoritesChosen() const;

    QLineEdit *titleEdit() const { return m_title; }
    QRadioButton *manualChoice() const { return m_manual; }
    QRadioButton *favoritesChoice() const { return m_favorites; }
    QSpinBox *favoritesCount() const { return m_count; }
    QLabel *favoritesLabel() const { return m_countLabel; }
    TrackPicker *picker() const { return m_picker; }
    QLabel *favoritesText() const { return m_favoritesText; }
    QListWidget *favoritesList() const { return m_favoritesList; }
    QRadioButton *shuffleChoice() const { return m_shuffleYes; }

protected:
    QWidget *nextPane(QWidget *pane) override;
    QWidget *previousPane(QWidget *pane) override;
    bool leavePane(QWidget *pane) override;

private:
    void buildTitlePane();
    void buildMethodPane();
    void buildTrackPanes();
    void buildOrderPane();
    void buildConfirmPane();
    void showFavorites();
    void showConfirmation();

    const CurrentAlbum &m_current;
    QuestionPort *m_questions;
    QList<int> m_favoriteTracks;

    QWidget *m_titlePane = nullptr;
    QWidget *m_methodPane = nullptr;
    QWidget *m_manualPane = nullptr;
    QWidget *m_favoritesPane = nullptr;
    QWidget *m_orderPane = nullptr;
    QWidget *m_confirmPane = nullptr;

    QLineEdit *m_title = nullptr;
    QRadioButton *m_manual = nullptr;
    QRadioButton *m_favorites = nullptr;
    QSpinBox *m_count = nullptr;
    QLabel *m_countLabel = nullptr;
    TrackPicker *m_picker = nullptr;
    QLabel *m_favoritesText = nullptr;
    QListWidget *m_favoritesList = nullptr;
    QRadioButton *m_shuffleYes = nullptr;
    QRadioButton *m_shuffleNo = nullptr;
    QLabel *m_confirmText = nullptr;
};

} // namespace Orbisong
