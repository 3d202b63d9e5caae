#include "export/ExportJob.h"

#include "base/MessageIds.h"
#include "collection/AlbumIndexNode.h"
#include "collection/AlbumRecord.h"
#include "collection/Collection.h"
#include "collection/CurrentAlbum.h"
#include "collection/MediaKind.h"
#include "collection/StoredText.h"
#include "collection/TCfgFile.h"
#include "export/AsciiDatabase.h"
#include "export/ExportAlbums.h"
#include "export/ExportPaths.h"
#include "export/TTemplateProcessor.h"

#include <QDir>
#include <QFile>

namespace Orbisong {

namespace {

// The album in the drive may hold changes not yet stored; the collection file must carry them.
void storeCurrentAlbum(Collection &collection)
{
    const CurrentAlbum *current = collection.currentAlbum();
    if (current && current->discPresent && !isCdRomKind(current->disc.mediaKind))
        WriteAlbumInfo(collection, false);
}

} // namespace

ExportJob::ExportJob(Collection &collection, const ExportProfile &profile,
                     const QString &templatePath)
    : m_profile(profile), m_collectionPath(collection.path())
{
    if (profile.isCollection())
        storeCurrentAlbum(collection);
    const QList<const AlbumIndexNode *> nodes = ExportAlbums::select(collection, profile);
    for (const AlbumIndexNode *node : nodes)
        m_ids.append(node->id);
    if (profile.isCollection()) {
        collection.OpenCollectionFile();
        if (TCfgFile *file = collection.file()) {
            for (const AlbumIndexNode *node : nodes)
                m_blocks += file->writtenBlock(node->blockName);
        }
        collection.CloseCollection();
        return;
    }
    m_albums = ExportAlbums::read(collection, nodes);
    if (profile.isHtml() && !templatePath.isEmpty()) {
        QFile file(templatePath);
        m_templateFound = file.open(QIODevice::ReadOnly);
        if (m_templateFound)
            m_templateText = decodeStoredText(file.readAll());
    }
}

ExportResult ExportJob::run(const std::atomic_bool *cancel,
                            const std::function<void(int)> &progress) const
{
    if (m_profile.isHtml())
        return runHtml(cancel, progress);
    ExportResult result;
    const QString path = m_profile.outputFile.trimmed();
    if (path.isEmpty()) {
        result.messageId = Msg::NoExportLocation;
        return result;
    }
    QByteArray bytes;
    if (m_profile.isCollection()) {
        bytes = m_blocks;
    } else {
        AsciiDatabase ascii;
        ascii.includeTracks = m_profile.flags & ExportTrackTitles;
        ascii.trackDelimiter = delimiterText(m_profile.trackDelimiter);
        ascii.fieldDelimiter = delimiterText(m_profile.fieldDelimiter);
        ascii.recordDelimiter = delimiterText(m_profile.recordDelimiter);
        bytes = ascii.text(m_albums).toUtf8();
    }
    if (cancel && cancel->load()) {
        result.cancelled = true;
        return result;
    }
    if (ExportPaths::saveWhole(path, bytes, m_collectionPath, &result.error)) {
        result.albums = albumCount();
        result.files.append(path);
    }
    if (progress)
        progress(1000);
    return result;
}

ExportResult ExportJob::runHtml(const std::atomic_bool *cancel,
                                const std::function<void(int)> &progress) const
{
    ExportResult result;
    if (!m_templateFound) {
        result.messageId = Msg::NoExportTemplate;
        return result;
    }
    if (m_profile.outputFolder.trimmed().isEmpty() || !QDir(m_profile.outputFolder).exists()) {
        result.messageId = Msg::ExportFolderMissing;
        return result;
    }
    TTemplateProcessor::Options options;
    options.outputFolder = m_profile.outputFolder;
    options.protectedFile = m_collectionPath;
    options.cancel = cancel;
    options.progress = progress;
    TTemplateProcessor processor(m_albums, options);
    if (!processor.run(m_templateText)) {
        result.error = QStringLiteral("the template's first line is not \"HTML\"");
        return result;
    }
    result.cancelled = processor.cancelled();
    result.files = processor.writtenFiles();
    result.refused = processor.refusedNames();
    if (!processor.failedFiles().isEmpty())
        result.error = QStringLiteral("cannot write ") + processor.failedFiles().join(", ");
    result.albums = albumCount();
    return result;
}

} // namespace Orbisong
