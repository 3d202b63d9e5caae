#pragma once

#include <QList>
#include <QObject>
#include <QStringList>

namespace Orbisong {

class PlayerEngine;
class PlayerPlaylistPanel;
class PlayerView;
class TPlaylistList;
struct Settings;

// What the player's list of steps, its playlist tabs and the playlist buttons do: steps are
// played, deleted, moved, dropped in and copied to the favourites, and playlists switched.
class PlayerListControl : public QObject
{
    Q_OBJECT

public:
    PlayerListControl(Settings &settings, PlayerPlaylistPanel *panel, PlayerView *view,
                      QObject *parent = nullptr);

    void setEngine(PlayerEngine *engine) { m_engine = engine; }
    void setLogin(const QString &login) { m_login = login; }
    TPlaylistList *list() const;
    // Track files may be dropped only with an audio disc and a custom playlist.
    void updateDropTarget();

    void playRow(int row);
    void deleteRow(int row);
    void moveRow(int from, int to);
    void dropTrackFiles(const QStringList &paths, int beforeRow);
    void addToFavorites(const QList<int> &rows);
    void shuffle();
    void selectTab(int index);
    // The selected rows of the list dropped onto tab `index` or onto the remove button.
    void dropStepsOnTab(int index);
    void dropStepsOnRemove();

protected:
    // Takes drags of the list's rows on the tab row and the remove button.
    bool eventFilter(QObject *watched, QEvent *event) override;

signals:
    // "add", "edit", "remove" a playlist, or the properties of a "step".
    void playlistEditRequested(const QString &what);
    void stepsDroppedOnPlaylist(const QString &playlist, const QList<int> &rows);
    void stepsDroppedOnRemove(const QList<int> &rows);

private:
    QList<int> selectedRows() const;

    Settings &m_settings;
    PlayerPlaylistPanel *m_panel;
    PlayerView *m_view;
    PlayerEngine *m_engine = nullptr;
    QString m_login;
};

} // namespace Orbisong
