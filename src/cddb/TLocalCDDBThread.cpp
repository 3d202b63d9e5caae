#include "cddb/TLocalCDDBThread.h"

#include "cddb/CddbApply.h"
#include "cddb/RunningLookups.h"

namespace Orbisong {

TLocalCDDBThread::TLocalCDDBThread(CddbEntryReceiver *receiver, const QString &localPath,
                                   const QString &albumId, const QString &indexFolder)
    : m_receiver(receiver), m_localPath(localPath), m_albumId(albumId.toUpper()),
      m_discId(albumId.left(8).toLower()),
      m_indexFolder(indexFolder.isEmpty() ? LocalCddbDatabase::defaultIndexFolder() : indexFolder)
{
    connect(this, &QThread::finished, this, &TLocalCDDBThread::finishOnMainThread);
}

TLocalCDDBThread *TLocalCDDBThread::StartLookup(RunningLookups &lookups, const QString &localPath,
                                                const QString &albumId, const QString &indexFolder)
{
    auto *thread = new TLocalCDDBThread(lookups.receiver(), localPath, albumId, indexFolder);
    thread->start(QThread::LowPriority);
    return thread;
}

void TLocalCDDBThread::run()
{
    LocalCddbDatabase database(m_localPath, m_indexFolder);
    m_result = database.find(
        m_discId,
        [this](const QString &text) {
            QMetaObject::invokeMethod(
                this, [this, text] { emit statusChanged(text); }, Qt::QueuedConnection);
        },
        &m_stop);
}

void TLocalCDDBThread::finishOnMainThread()
{
    emit statusChanged(QString());
    if (m_result.status == LocalCddbDatabase::Found && !m_stop && m_receiver)
        ApplyEntry(*m_receiver, m_result.category, m_albumId, SourceLocalDatabase, m_result.entry);
    const int result = m_stop && m_result.status == LocalCddbDatabase::Found
                           ? int(LocalCddbDatabase::NotFound)
                           : int(m_result.status);
    emit lookupFinished(result);
    deleteLater();
}

} // namespace Orbisong
