#pragma once

#include "cddb/CddbLookupSettings.h"

#include <QByteArray>
#include <QPointer>
#include <QString>
#include <QThread>

#include <atomic>
#include <functional>

namespace Orbisong {

class CddbEntryReceiver;
class RunningLookups;
class ThreadWindow;
struct ThreadRequest;

// A remote lookup on its own thread. The object lives on the main thread: its signals arrive
// there, it applies the found entry there (through the receiver of its RunningLookups), and
// it deletes itself after `lookupFinished`.
class TCDDBThread : public QThread
{
    Q_OBJECT

public:
    enum Result { Found = 0, NotFound = 1, Failed = 2 };
    enum State {
        Idle = 0,
        Finding = 1,
        Connecting = 2,
        AwaitGreeting = 3,
        HandshakeSent = 4,
        MotdRequested = 5,
        QuerySent = 6,
        InexactReceived = 7,
        AwaitSecondGreeting = 8,
        SecondHandshakeSent = 9,
        ReadSent = 10,
        Disconnecting = 11,
    };
    enum ErrorKind {
        NoError = 0,
        StartupFailed = 1,
        ResolveFailed = 2,
        CloseFailed = 3,
        SendFailed = 4,
        ReceiveFailed = 5,
        ProxyFailed = 6,
        BadResponse = 7,
    };
    static constexpr int BufferSize = 32768;

    // Creates the thread for the protocol of `settings`, counts it among `lookups` and starts
    // it at low priority. `query` is: disc id, track count, the start frames, the disc length
    // in seconds.
    static TCDDBThread *StartLookup(RunningLookups &lookups, const CddbLookupSettings &settings,
                                    const QString &albumId, const QString &query);

    ~TCDDBThread() override;

    void requestStop() { m_stop = true; }
    bool stopRequested() const { return m_stop; }
    int result() const { return m_result; }
    int errorKind() const { return m_errorKind; }
    int errorCode() const { return m_errorCode; }
    // The message id the error table gives for the failure, 0 when none is shown.
    int errorMessageId() const;
    QString albumId() const { return m_albumId; }
    QString entry() const { return m_entry; }
    QString category() const { return m_category; }
    QString chosenDiscId() const { return m_discId; }

    // The text the status line shows for `state`; empty means "leave it" except for Idle.
    static QString statusText(int state, const QString &host);
    // Percent-encodes a form value: letters and digits kept, blank "+", anything else "%XX".
    static QByteArray encodeFormValue(const QString &value);
    // Whether a response collected so far is complete: one line, or for 210/211 the "." line.
    static bool responseComplete(const QByteArray &buffer);
    static int responseStatus(const QByteArray &response);
    // Server text: UTF-8 when valid, else Windows-1252.
    static QString decodeResponse(const QByteArray &response);
    // Blank-separated word `index` (from 0) of a response line; runs of blanks are one gap.
    static QString word(const QString &line, int index);

signals:
    // Status line text for this lookup (empty clears it).
    void statusChanged(const QString &text);
    // The completion notice: 0 found and applied, 1 unknown disc, 2 failed or stopped.
    void lookupFinished(int result);

protected:
    TCDDBThread(RunningLookups &lookups, const CddbLookupSettings &settings, const QString &albumId,
                const QString &query);

    void run() override;
    virtual void runLookup() = 0;

    void setState(int state);
    void fail(int kind, int code);
    // Asks the main thread for a window; false when the program is closing.
    bool askMainThread(ThreadRequest *request);
    // Shows the message of the day when one came in, then lets the user pick among
    // matches when asked; returns false when nothing was chosen.
    bool chooseMatch();
    // Command words from a server answer that are safe to send back.
    bool takeMatch(const QString &category, const QString &discId);
    QString helloText() const;

    CddbLookupSettings m_settings;
    QString m_albumId;
    QString m_query;
    std::atomic<bool> m_stop{false};
    int m_state = Idle;
    int m_result = Failed;
    int m_errorKind = NoError;
    int m_errorCode = 0;
    QString m_matches;
    QString m_discId;
    QString m_category;
    QString m_entry;
    QString m_welcome;

private:
    bool programClosing() const;
    void reportError();
    void finishOnMainThread();
    bool runOnMainThread(const std::function<void()> &call);

    // Main thread only; null once the lookups were released before this one ended.
    QPointer<RunningLookups> m_lookups;
    // Taken from the lookups at the start, so the worker never reaches into them.
    ThreadWindow *m_window;
    CddbEntryReceiver *m_receiver;
};

} // namespace Orbisong
