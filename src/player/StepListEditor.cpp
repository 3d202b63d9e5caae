#include "player/StepListEditor.h"

#include "player/PlayerEngine.h"
#include "player/PlayerText.h"

#include <QRandomGenerator>

namespace Orbisong {

int StepListEditor::currentSerial() const
{
    const QList<TStep> &list = m_engine.list();
    const int index = m_engine.currentIndex();
    return index >= 0 && index < list.size() ? list.at(index).serial() : -1;
}

void StepListEditor::followCurrent(int previousSerial, bool wasRunning)
{
    QList<TStep> &list = m_engine.list();
    for (int i = 0; i < list.size(); ++i) {
        if (list.at(i).serial() == previousSerial) {
            // The playing step only moved: follow it without interrupting playback.
            m_engine.setCurrentIndex(i);
            return;
        }
    }
    const int index = m_engine.currentIndex();
    if (wasRunning)
        m_engine.stopPlayback();
    if (index >= list.size())
        m_engine.stop();
    else if (wasRunning)
        m_engine.playStep(index);
    else
        m_engine.moveToStep(index);
}

bool StepListEditor::deleteStep(int row)
{
    QList<TStep> &list = m_engine.list();
    if (row < 0 || row >= list.size())
        return false;
    const int index = m_engine.currentIndex();
    const int serial = currentSerial();
    const bool running = m_engine.playing();
    list.removeAt(row);
    if (index > row)
        m_engine.setCurrentIndex(index - 1);
    if (index >= row)
        followCurrent(serial, running);
    return true;
}

bool StepListEditor::moveStep(int from, int to)
{
    QList<TStep> &list = m_engine.list();
    if (from < 0 || from >= list.size() || to < 0 || to >= list.size() || from == to)
        return false;
    const int serial = currentSerial();
    list.move(from, to);
    followCurrent(serial, m_engine.playing());
    return true;
}

int StepListEditor::insertTrackFiles(const QStringList &paths, int beforeRow)
{
    if (!m_engine.audioPresent())
        return 0;
    QList<TStep> &list = m_engine.list();
    const DiscInfo &disc = m_engine.current().disc;
    const int index = m_engine.currentIndex();
    const bool running = m_engine.playing();
    int at = qBound(0, beforeRow, int(list.size()));
    int inserted = 0;
    int insertedBeforeCurrent = 0;
    for (const QString &path : paths) {
        const int track = m_engine.trackFromFile(path);
        if (track < 1 || track > disc.trackCount)
            continue;
        list.insert(at, TStep(QString(), disc.trackOffsets[track], disc.trackOffsets[track + 1]));
        if (at <= index)
            ++insertedBeforeCurrent;
        ++at;
        ++inserted;
    }
    if (inserted == 0)
        return 0;
    if (index < 0) {
        m_engine.moveToStep(0);
    } else if (insertedBeforeCurrent > 0) {
        if (running) {
            m_engine.stopPlayback();
            m_engine.playStep(index);
        } else {
            m_engine.moveToStep(index);
        }
    }
    return inserted;
}

bool StepListEditor::addToFavorites(const QList<int> &rows, const QString &login)
{
    if (!m_engine.audioPresent())
        return false;
    const QString name = FavoritesPlaylistName(login);
    CurrentAlbum &current = m_engine.current();
    auto playlist = findPlaylist(current.playlists, name);
    if (!playlist) {
        playlist = std::make_shared<TPlaylist>(name, 0);
        current.playlists.append(playlist);
    }
    const bool isCurrent =
        playlist->title.compare(m_engine.currentPlaylist(), Qt::CaseInsensitive) == 0;
    const QList<TStep> source = m_engine.list();
    for (int row : rows) {
        if (row < 0 || row >= source.size())
            continue;
        TStep copy(source.at(row).title, source.at(row).start, source.at(row).end);
        copy.script = source.at(row).script;
        if (isCurrent)
            m_engine.list().append(copy);
        else
            playlist->steps.append(copy);
    }
    return true;
}

bool StepListEditor::shuffle()
{
    QList<TStep> &list = m_engine.list();
    if (list.size() < 2)
        return false;
    const int serial = currentSerial();
    for (int i = int(list.size()) - 1; i > 0; --i)
        list.swapItemsAt(i, int(QRandomGenerator::global()->bounded(i + 1)));
    followCurrent(serial, m_engine.playing());
    return true;
}

void StepListEditor::switchTo(const QString &playlist)
{
    m_engine.writeListBack();
    m_engine.setCurrentPlaylist(playlist);
}

void StepListEditor::revert()
{
    m_engine.setCurrentPlaylist(m_engine.currentPlaylist());
}

void StepListEditor::jumpTo(const QString &playlist, int index)
{
    m_engine.stop();
    if (playlist.compare(m_engine.currentPlaylist(), Qt::CaseInsensitive) != 0)
        switchTo(playlist);
    m_engine.playStep(index);
}

} // namespace Orbisong
