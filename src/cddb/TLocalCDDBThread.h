#pragma once

#include "cddb/LocalCddbDatabase.h"

#include <QThread>

#include <atomic>

namespace Orbisong {

class CddbEntryReceiver;
class RunningLookups;

// Looks a disc up in the local database on its own thread. The object lives on the main
// thread, applies what was found there (through the receiver of the lookups that started it),
// then reports and deletes itself.
class TLocalCDDBThread : public QThread
{
    Q_OBJECT

public:
    // `localPath` is the database folder ("Local Path"); the index goes to `indexFolder`
    // (the data folder's when empty).
    static TLocalCDDBThread *StartLookup(RunningLookups &lookups, const QString &localPath,
                                         const QString &albumId, const QString &indexFolder = {});

    void requestStop() { m_stop = true; }
    QString category() const { return m_result.category; }

signals:
    // Progress of a first lookup that builds the index; empty clears it.
    void statusChanged(const QString &text);
    // 0 found and applied, 1 not found, 2 the database folder does not exist.
    void lookupFinished(int result);

protected:
    void run() override;

private:
    TLocalCDDBThread(CddbEntryReceiver *receiver, const QString &localPath, const QString &albumId,
                     const QString &indexFolder);
    void finishOnMainThread();

    CddbEntryReceiver *m_receiver;
    QString m_localPath;
    QString m_albumId;
    QString m_discId;
    QString m_indexFolder;
    std::atomic<bool> m_stop{false};
    LocalCddbDatabase::Result m_result;
};

} // namespace Orbisong
