#pragma once

#include <QObject>

namespace Orbisong {

class Collection;
class PlayerEngine;
class QuestionPort;
class TPlayerForm;
class TSubmitThread;
struct Settings;

// Sends albums to the CDDB database when the player's "Send to CDDB database" button or a
// finished album wizard asks: the category choice and the messages over the player, the
// exchange on a worker thread, its progress in the player's status line.
class SubmitWindows : public QObject
{
    Q_OBJECT

public:
    SubmitWindows(TPlayerForm *player, PlayerEngine *engine, Collection *collection,
                  Settings &settings, QuestionPort *questions, QObject *parent = nullptr);
    ~SubmitWindows() override;

    // Saves the album in the drive, then submits it.
    void submitCurrent();
    // One submission at a time: a request while one runs is ignored. False when nothing
    // was started.
    bool submit(const QString &albumId);
    // Ends the running submission at its next wait, without a message.
    void cancel();
    TSubmitThread *running() const { return m_thread; }
    // Seconds each wait of a submission may last.
    void setTimeOut(int seconds) { m_timeOut = seconds; }

signals:
    // A submission ended: 0 sent, 1 timed out, 2 failed, 3 cancelled.
    void submitFinished(int result);

private:
    void showStatus(const QString &text);
    void onFinished(int result, const QString &errorText);

    TPlayerForm *m_player;
    PlayerEngine *m_engine;
    Collection *m_collection;
    Settings &m_settings;
    QuestionPort *m_questions;
    TSubmitThread *m_thread = nullptr;
    int m_statusHandle = 0;
    int m_timeOut = 60;
    bool m_quiet = false;
};

} // namespace Orbisong
