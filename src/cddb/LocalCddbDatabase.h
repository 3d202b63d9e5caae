#pragma once

#include <QString>
#include <QStringList>

#include <atomic>
#include <functional>

namespace Orbisong {

// A local copy of the CDDB database: one folder per category holding one file per disc
// (named by its disc id) and collected files named by a range of disc ids ("20to2f").
// Lookups use an index of the DISCID lines kept in `indexFolder`, rebuilt for a category
// whenever that category folder has changed, and give the same answer as reading every file.
class LocalCddbDatabase
{
public:
    enum Status { Found = 0, NotFound = 1, NoDatabase = 2 };

    struct Result
    {
        Status status = NotFound;
        QString category; // the folder name
        QString entry;
        QString file;
    };

    using Progress = std::function<void(const QString &text)>;

    LocalCddbDatabase(const QString &root, const QString &indexFolder);

    // Looks `discId` up; `stop` ends the search between files.
    Result find(const QString &discId, const Progress &progress = {},
                const std::atomic<bool> *stop = nullptr);

    // Whether a file name is searched for `discId`: 8 characters, or a collected file whose
    // range covers the disc id's first byte.
    static bool nameMatches(const QString &fileName, const QString &discId);
    // The entry for `discId` in the file, or a null string.
    static QString searchFile(const QString &path, const QString &discId);
    // The index folder used by default: inside the data folder.
    static QString defaultIndexFolder();

private:
    QStringList categories() const;
    // The files of `category` that name `discId` on a DISCID or #FILENAME line, sorted.
    QStringList candidates(const QString &category, const QString &discId, const Progress &progress,
                           const std::atomic<bool> *stop);
    bool buildIndex(const QString &category, const QString &indexPath, qint64 stamp,
                    const Progress &progress, const std::atomic<bool> *stop);

    QString m_root;
    QString m_indexFolder;
};

} // namespace Orbisong
