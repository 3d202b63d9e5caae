#pragma once

#include "export/ExportAlbum.h"
#include "export/ExportProfile.h"

#include <QByteArray>
#include <QStringList>

#include <atomic>
#include <functional>

namespace Orbisong {

class Collection;

// What an export did.
struct ExportResult
{
    int albums = 0;      // albums exported
    QStringList files;   // files written
    QStringList refused; // FILE names that would have left the output folder
    bool cancelled = false;
    int messageId = 0; // the message that says why nothing was written
    QString error;     // a file error, or a refused output file
    bool succeeded() const { return !cancelled && messageId == 0 && error.isEmpty(); }
};

// One run of the export wizard's work. The constructor reads everything the run needs from
// the collection as it is in memory, on the collection's thread; run() then writes on any
// thread while the collection goes on changing.
class ExportJob
{
public:
    // `templatePath` is the HTML template's real path (HTML format only).
    ExportJob(Collection &collection, const ExportProfile &profile,
              const QString &templatePath = {});

    int albumCount() const { return int(m_ids.size()); }
    // `cancel` is checked as the run goes; `progress` hears per mille done.
    ExportResult run(const std::atomic_bool *cancel = nullptr,
                     const std::function<void(int)> &progress = {}) const;

private:
    ExportResult runHtml(const std::atomic_bool *cancel,
                         const std::function<void(int)> &progress) const;

    ExportProfile m_profile;
    QString m_collectionPath;
    QStringList m_ids;
    QList<ExportAlbum> m_albums;
    QByteArray m_blocks; // the collection format's albums, as the file holds them
    QString m_templateText;
    bool m_templateFound = false;
};

} // namespace Orbisong
