#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <functional>

namespace Orbisong {

// Extracts every entry of a ZIP archive into a destination folder, reading the local
// headers one after another from the start of the archive. Handles stored and deflated
// entries, the traditional PKWARE encryption and data descriptors. Entry names are confined
// to the destination: names that would leave it are refused, and no links are created or
// followed below the destination. An entry reaches its final name only after its size and
// CRC-32 have been verified.
class ZipReader
{
public:
    ZipReader(const QString &archive, const QString &destination);

    // The password for encrypted entries; the built-in one is used when none is set.
    void setPassword(const QByteArray &password) { m_password = password; }
    void setSkipEmptyFiles(bool skip) { m_skipEmpty = skip; }
    // Called with the entry name before each file is written.
    void setFileStartedHandler(std::function<void(const QString &)> handler)
    {
        m_fileStarted = std::move(handler);
    }
    // Called with the number of archive bytes consumed since the last call; returning false
    // cancels the extraction.
    void setProgressHandler(std::function<bool(qint64)> handler)
    {
        m_progress = std::move(handler);
    }

    // False when the extraction was abandoned; `errorMessage()` then tells why (it is empty
    // when the user cancelled).
    bool extractAll();

    QString errorMessage() const { return m_error; }
    int errorId() const { return m_errorId; }
    bool cancelled() const { return m_cancelled; }
    // Entry names written so far, relative to the destination, with "/" separators.
    QStringList writtenFiles() const { return m_written; }
    // The archive's path after ".ZIP" was added to a name without an extension.
    QString archivePath() const { return m_archive; }

    static QByteArray builtInPassword();
    // The entry name as a relative path inside the destination, or an empty string when it
    // is absolute, names a drive, climbs with "..", or contains a NUL character. Backslashes
    // count as separators.
    static QString confinedName(const QString &name);

private:
    struct Entry;
    class Cursor;

    bool extractEntry(Cursor &cursor);
    bool writeEntry(Cursor &cursor, Entry &entry);
    bool readDescriptor(Cursor &cursor, Entry &entry);
    bool prepareFolder(const QString &relativeFile);
    bool fail(int id, const QStringList &args = {});
    bool failText(const QString &text);
    bool report(qint64 bytes);

    QString m_archive;
    QString m_destination;
    QByteArray m_password;
    bool m_skipEmpty = false;
    std::function<void(const QString &)> m_fileStarted;
    std::function<bool(qint64)> m_progress;
    QString m_error;
    int m_errorId = 0;
    bool m_cancelled = false;
    QStringList m_written;
};

} // namespace Orbisong
