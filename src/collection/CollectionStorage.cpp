// The collection file's life: loaded once and kept in memory, written in the background after
// each outermost close, flushed and let go at the end.

#include "collection/CollectionIndexBuild.h"

#include "base/MessageIds.h"
#include "base/QuestionPort.h"
#include "collection/CollectionSaver.h"
#include "collection/CollectionSink.h"
#include "collection/Settings.h"

#include <QLoggingCategory>

Q_LOGGING_CATEGORY(lcCollection, "orbisong.collection")

namespace Orbisong {

Collection::Collection(Settings &settings, const QString &path)
    : m_settings(settings), m_path(path.isEmpty() ? settings.collectionPath : path),
      m_context(std::make_unique<QObject>())
{
}

Collection::~Collection()
{
    if (m_file || m_indexBuild)
        ShutdownCollection();
}

void Collection::post(std::function<void()> call)
{
    QMetaObject::invokeMethod(m_context.get(), std::move(call), Qt::QueuedConnection);
}

void Collection::reportLoadFailure()
{
    qCWarning(lcCollection) << "cannot load" << m_path << m_lastError;
    askOrDefault(m_questions, Msg::Notice,
                 QStringLiteral("OB4COLL_OpenCollectionFile(): Exception in TCfgFile.Create('") +
                     m_path + QStringLiteral("')"),
                 m_lastError);
}

bool Collection::loadFile()
{
    auto file = std::make_unique<TCfgFile>(m_path);
    if (!file->load()) {
        m_lastError = file->errorString();
        reportLoadFailure();
        return false;
    }
    m_file = std::move(file);
    return true;
}

void Collection::reportWriteFailure()
{
    qCWarning(lcCollection) << "cannot write" << m_path << m_lastError;
    askOrDefault(m_questions, Msg::Notice, QStringLiteral("Unable to save the collection file."),
                 QStringLiteral("The collection file '%1' could not be written: %2. The previous "
                                "file was left unchanged.")
                     .arg(m_path, m_lastError));
}

bool Collection::OpenCollectionFile()
{
    awaitIndex();
    if (m_openCount <= 0) {
        m_openCount = 0;
        if (!m_file) {
            setBusy(true);
            loadFile();
            setBusy(false);
        }
    }
    ++m_openCount;
    return m_file != nullptr;
}

bool Collection::CloseCollection()
{
    --m_openCount;
    // A pinned file is saved like any other once its last ordinary user lets go: keeping it
    // in memory must not keep an edit from the disk until the end of the session.
    const int floor = m_pinned ? PinnedCount : 0;
    if (m_openCount > floor)
        return true;
    m_openCount = floor;
    if (!m_file)
        return true;
    collectSaveResults(true);
    scheduleSave();
    return !m_saveFailed;
}

void Collection::scheduleSave()
{
    if (!m_file || !m_file->isModified())
        return;
    if (!m_writeBehind) {
        flush();
        return;
    }
    // One snapshot per write: changes made while a write runs go out with the next one.
    if (m_saver && m_saver->isBusy()) {
        m_saveWanted = true;
        return;
    }
    submitSave();
}

bool Collection::isWritePending() const
{
    return m_saveWanted || (m_saver && m_saver->isBusy());
}

void Collection::holdWrites(bool hold)
{
    createSaver();
    m_saver->setHeld(hold);
}

void Collection::createSaver()
{
    if (!m_saver) {
        m_saver = std::make_unique<CollectionSaver>([this] {
            post([this] {
                collectSaveResults(true);
                if (m_saveWanted && !m_saveFailed && m_openCount <= 0)
                    scheduleSave();
            });
        });
    }
}

void Collection::submitSave()
{
    createSaver();
    m_saveWanted = false;
    m_saver->submit(m_file->snapshot(), m_file->generation());
}

bool Collection::collectSaveResults(bool report)
{
    if (!m_saver)
        return false;
    const QList<CollectionSaver::Result> results = m_saver->takeResults();
    if (results.isEmpty())
        return false;
    for (const CollectionSaver::Result &result : results) {
        if (result.written && m_file)
            m_file->markSaved(result.generation);
    }
    // A failure that a later write made good is past; only the last result counts.
    const CollectionSaver::Result &last = results.last();
    m_saveFailed = !last.written;
    if (last.written)
        return false;
    m_lastError = last.error;
    if (report)
        reportWriteFailure();
    return report;
}

bool Collection::flush()
{
    awaitIndex();
    if (!m_file)
        return true;
    if (m_saver) {
        m_saver->setHeld(false);
        m_saver->waitUntilIdle();
    }
    // An earlier failure is tried again here and only this attempt's outcome is reported.
    collectSaveResults(false);
    if (m_file->isModified()) {
        submitSave();
        m_saver->waitUntilIdle();
        collectSaveResults(true);
    }
    return !m_file->isModified();
}

bool Collection::ShutdownCollection()
{
    // An index still being built has changed nothing yet; the end does not wait to ask its
    // questions.
    if (m_indexBuild) {
        if (m_indexBuild->thread.joinable())
            m_indexBuild->thread.join();
        m_indexBuild.reset();
    }
    m_pinned = false;
    bool written = true;
    if (m_openCount > 0 || m_file) {
        m_openCount = 0;
        setBusy(true);
        written = flush();
        // A file that cannot be written stays loaded, so the changes survive until a later
        // attempt succeeds.
        if (written)
            m_file.reset();
        setBusy(false);
    }
    freeIndex();
    return written;
}

void Collection::pin()
{
    OpenCollectionFile();
    m_openCount = PinnedCount;
    m_pinned = true;
}

} // namespace Orbisong
