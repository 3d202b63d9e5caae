#pragma once

#include "export/AlbumCatalog.h"
#include "export/TemplateNode.h"
#include "export/TVariableList.h"

#include <QDateTime>
#include <QStringList>

#include <atomic>
#include <functional>

namespace Orbisong {

// Runs an HTML template over the exported albums: variables, FOREACH loops over the
// collection's artists, binders, categories, owners, years, albums and tracks, IF and IFNOT
// blocks, and FILE blocks that each become a file in the output folder. Output outside every
// FILE block is dropped. Values are HTML-escaped unless the tag asks for them raw.
class TTemplateProcessor
{
public:
    struct Options
    {
        QString outputFolder;
        // A file no FILE block may replace: the collection file.
        QString protectedFile;
        QDateTime now = QDateTime::currentDateTime();
        // Checked between loop passes; once set, nothing more is written.
        const std::atomic_bool *cancel = nullptr;
        // Per mille of the outermost loop done.
        std::function<void(int)> progress;
    };

    TTemplateProcessor(const QList<ExportAlbum> &albums, Options options);

    // False when the template's first line is not "HTML" (nothing is written).
    bool run(const QString &templateText);

    // Full paths, in the order written.
    QStringList writtenFiles() const { return m_written; }
    // FILE names that were not written: empty, "." or "..", or a place outside the folder.
    QStringList refusedNames() const { return m_refused; }
    QStringList failedFiles() const { return m_failed; }
    bool cancelled() const { return m_cancelled; }
    TVariableList &variables() { return m_vars; }

    // The HTML fragment that ends every generated file.
    static QString generatedNotice();

private:
    void runBlock(const QList<TemplateNode> &nodes);
    void runCommand(const TemplateNode &node);
    void runLoop(const TemplateNode &node);
    void runFile(const TemplateNode &node);
    // "[&IF NAME]" runs its block when the variable has a value, "[&IFNOT NAME]" when not.
    void runIf(const TemplateNode &node, bool whenSet);
    QStringList loopItems(const QString &kind);
    void setAlbumVariables(int album);
    void setTrackVariables(int track);
    void clearVariables(const QStringList &names);
    QString fileNameOf(const QString &argument) const;
    void writeFile(const QString &name, const QString &text);
    void appendValue(const TemplateNode &node);
    bool stopped();

    AlbumCatalog m_catalog;
    Options m_options;
    TVariableList m_vars;
    QString m_out;
    int m_depth = 0;
    bool m_cancelled = false;
    QStringList m_written;
    QStringList m_refused;
    QStringList m_failed;
};

} // namespace Orbisong
