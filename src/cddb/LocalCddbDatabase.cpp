#include "cddb/LocalCddbDatabase.h"

#include "base/AppPaths.h"
#include "collection/StoredText.h"

#include <QCryptographicHash>
#include <QDataStream>
#include <QDateTime>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QLoggingCategory>
#include <QSaveFile>

#include <algorithm>
#include <vector>

namespace Orbisong {

namespace {

Q_LOGGING_CATEGORY(lcLocalCddb, "orbisong.cddb.local")

const QByteArray IndexMagic = "OBCDDBIX2\n";
constexpr int HeaderSize = 10 + 8 + 8 + 8; // magic, stamp, names size, record count
constexpr int RecordSize = 8;

bool isHex(char c)
{
    return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F');
}

int hexValue(const QString &text, bool *ok)
{
    return text.toInt(ok, 16);
}

bool isCollectedName(const QString &name)
{
    if (name.size() < 6 || name.mid(2, 2).toUpper() != QLatin1String("TO"))
        return false;
    bool lowOk = false;
    bool highOk = false;
    hexValue(name.left(2), &lowOk);
    hexValue(name.mid(4, 2), &highOk);
    return lowOk && highOk;
}

// A file that can hold an entry for some disc id.
bool indexable(const QString &name)
{
    return !name.startsWith(QLatin1Char('.')) && (name.size() == 8 || isCollectedName(name));
}

// A name read back from an index is joined into a path: only a name the index writer could
// have listed, a plain file name in the category folder, may come out of it.
bool indexedName(const QString &name)
{
    return indexable(name) && !name.contains(QLatin1Char('/')) && !name.contains(QChar(0));
}

bool startsWithNoCase(const QByteArray &data, qsizetype at, const char *prefix)
{
    const qsizetype length = qsizetype(qstrlen(prefix));
    if (at + length > data.size())
        return false;
    return qstrnicmp(data.constData() + at, prefix, length) == 0;
}

qsizetype indexOfNoCase(const QByteArray &data, const char *needle, qsizetype from)
{
    const QByteArray upper = QByteArray(needle).toUpper();
    const QByteArray lower = QByteArray(needle).toLower();
    for (qsizetype i = std::max<qsizetype>(from, 0); i + upper.size() <= data.size(); ++i) {
        qsizetype j = 0;
        while (j < upper.size() && (data.at(i + j) == upper.at(j) || data.at(i + j) == lower.at(j)))
            ++j;
        if (j == upper.size())
            return i;
    }
    return -1;
}

qsizetype lastIndexOfNoCase(const QByteArray &data, const char *needle, qsizetype before)
{
    const qsizetype length = qsizetype(qstrlen(needle));
    for (qsizetype i = std::min(before, data.size() - length); i >= 0; --i) {
        if (qstrnicmp(data.constData() + i, needle, length) == 0)
            return i;
    }
    return -1;
}

// Every 8-digit hexadecimal run on the DISCID and #FILENAME lines, lower case.
void collectIds(const QByteArray &data, std::vector<quint32> *ids)
{
    qsizetype lineStart = 0;
    while (lineStart < data.size()) {
        qsizetype lineEnd = data.indexOf('\n', lineStart);
        if (lineEnd < 0)
            lineEnd = data.size();
        qsizetype valueStart = -1;
        if (startsWithNoCase(data, lineStart, "DISCID="))
            valueStart = lineStart + 7;
        else if (startsWithNoCase(data, lineStart, "#FILENAME="))
            valueStart = lineStart + 10;
        if (valueStart >= 0) {
            qsizetype run = 0;
            for (qsizetype i = valueStart; i <= lineEnd; ++i) {
                if (i < lineEnd && isHex(data.at(i))) {
                    ++run;
                    if (run >= 8) {
                        bool ok = false;
                        ids->push_back(data.mid(i - 7, 8).toUInt(&ok, 16));
                    }
                } else {
                    run = 0;
                }
            }
        }
        lineStart = lineEnd + 1;
    }
}

qint64 folderStamp(const QString &folder)
{
    return QFileInfo(folder).lastModified().toMSecsSinceEpoch();
}

} // namespace

LocalCddbDatabase::LocalCddbDatabase(const QString &root, const QString &indexFolder)
    : m_root(root), m_indexFolder(indexFolder)
{
}

QString LocalCddbDatabase::defaultIndexFolder()
{
    return AppPaths::dataFolder() + QStringLiteral("/cddb-index");
}

bool LocalCddbDatabase::nameMatches(const QString &fileName, const QString &discId)
{
    if (fileName.startsWith(QLatin1Char('.')))
        return false;
    if (fileName.size() == 8)
        return true;
    if (!isCollectedName(fileName))
        return false;
    bool ok = false;
    const int low = hexValue(fileName.left(2), &ok);
    const int high = hexValue(fileName.mid(4, 2), &ok);
    const int value = hexValue(discId.left(2), &ok);
    return ok && low <= value && value <= high;
}

QString LocalCddbDatabase::searchFile(const QString &path, const QString &discId)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        qCDebug(lcLocalCddb).noquote()
            << QStringLiteral("TLocalCDDBThread.SearchFile(): Error opening file \"%1\".")
                   .arg(path);
        return {};
    }
    const QByteArray data = file.readAll();
    if (data.isEmpty())
        return {};
    qsizetype at = data.indexOf(discId.toLower().toLatin1());
    if (at < 0)
        at = data.indexOf(discId.toUpper().toLatin1());
    if (at < 0)
        return {};
    const qsizetype lineStart = data.lastIndexOf('\n', at) + 1;
    if (!startsWithNoCase(data, lineStart, "DISCID=") &&
        !startsWithNoCase(data, lineStart, "#FILENAME="))
        return {};
    qsizetype entryStart = 0;
    const qsizetype previous = lastIndexOfNoCase(data, "PLAYORDER=", lineStart - 1);
    if (previous >= 0) {
        const qsizetype lineFeed = data.indexOf('\n', previous);
        entryStart = lineFeed < 0 ? data.size() : lineFeed + 1;
    }
    qsizetype entryEnd = indexOfNoCase(data, "PLAYORDER=", entryStart);
    if (entryEnd < 0)
        entryEnd = data.size();
    return decodeStoredText(QByteArrayView(data).sliced(entryStart, entryEnd - entryStart));
}

QStringList LocalCddbDatabase::categories() const
{
    QStringList names =
        QDir(m_root).entryList(QDir::Dirs | QDir::NoDotAndDotDot | QDir::Hidden, QDir::NoSort);
    names.erase(std::remove_if(names.begin(), names.end(),
                               [](const QString &n) { return n.startsWith(QLatin1Char('.')); }),
                names.end());
    std::sort(names.begin(), names.end());
    return names;
}

bool LocalCddbDatabase::buildIndex(const QString &category, const QString &indexPath, qint64 stamp,
                                   const Progress &progress, const std::atomic<bool> *stop)
{
    const QString folder = m_root + QLatin1Char('/') + category;
    QStringList names;
    QDirIterator it(folder, QDir::Files | QDir::Hidden | QDir::System);
    while (it.hasNext()) {
        it.next();
        const QString name = it.fileName();
        if (indexable(name))
            names.append(name);
    }
    std::sort(names.begin(), names.end());

    QByteArray blob;
    std::vector<std::pair<quint32, quint32>> records;
    std::vector<quint32> ids;
    for (qsizetype i = 0; i < names.size(); ++i) {
        if (stop && *stop)
            return false;
        if (progress && i % 5000 == 0)
            progress(QStringLiteral("Indexing local CDDB database: %1 %2%")
                         .arg(category)
                         .arg(names.isEmpty() ? 100 : int(i * 100 / names.size())));
        QFile file(folder + QLatin1Char('/') + names.at(i));
        if (!file.open(QIODevice::ReadOnly))
            continue;
        ids.clear();
        collectIds(file.readAll(), &ids);
        std::sort(ids.begin(), ids.end());
        ids.erase(std::unique(ids.begin(), ids.end()), ids.end());
        const auto offset = quint32(blob.size());
        blob += names.at(i).toUtf8() + '\n';
        for (const quint32 id : ids)
            records.emplace_back(id, offset);
    }
    std::sort(records.begin(), records.end());

    QDir().mkpath(QFileInfo(indexPath).absolutePath());
    QSaveFile out(indexPath);
    if (!out.open(QIODevice::WriteOnly))
        return false;
    QDataStream stream(&out);
    stream.writeRawData(IndexMagic.constData(), int(IndexMagic.size()));
    stream << stamp << qint64(blob.size()) << qint64(records.size());
    stream.writeRawData(blob.constData(), int(blob.size()));
    for (const auto &[id, offset] : records)
        stream << id << offset;
    return out.commit();
}

QStringList LocalCddbDatabase::candidates(const QString &category, const QString &discId,
                                          const Progress &progress, const std::atomic<bool> *stop)
{
    const QString folder = m_root + QLatin1Char('/') + category;
    const qint64 stamp = folderStamp(folder);
    const QByteArray rootKey =
        QCryptographicHash::hash(QFileInfo(m_root).absoluteFilePath().toUtf8(),
                                 QCryptographicHash::Sha1)
            .toHex()
            .left(16);
    const QString indexPath = m_indexFolder + QLatin1Char('/') + QString::fromLatin1(rootKey) +
                              QLatin1Char('/') + category + QStringLiteral(".idx");

    for (int attempt = 0; attempt < 2; ++attempt) {
        QFile index(indexPath);
        if (index.open(QIODevice::ReadOnly)) {
            QDataStream stream(&index);
            QByteArray magic(int(IndexMagic.size()), '\0');
            stream.readRawData(magic.data(), int(magic.size()));
            qint64 storedStamp = 0;
            qint64 blobSize = 0;
            qint64 count = 0;
            stream >> storedStamp >> blobSize >> count;
            // The sizes come from the file: compared by division, so no value overflows.
            const qint64 body = index.size() - HeaderSize;
            const bool whole = blobSize >= 0 && count >= 0 && blobSize <= body &&
                               count == (body - blobSize) / RecordSize &&
                               (body - blobSize) % RecordSize == 0;
            if (magic == IndexMagic && storedStamp == stamp && whole &&
                stream.status() == QDataStream::Ok) {
                bool ok = false;
                const quint32 wanted = discId.toUInt(&ok, 16);
                const qint64 recordsAt = HeaderSize + blobSize;
                auto idAt = [&](qint64 i) {
                    index.seek(recordsAt + i * RecordSize);
                    quint32 id = 0;
                    stream >> id;
                    return id;
                };
                qint64 low = 0;
                qint64 high = count;
                while (low < high) {
                    const qint64 mid = (low + high) / 2;
                    if (idAt(mid) < wanted)
                        low = mid + 1;
                    else
                        high = mid;
                }
                QStringList files;
                for (qint64 i = low; i < count; ++i) {
                    index.seek(recordsAt + i * RecordSize);
                    quint32 id = 0;
                    quint32 offset = 0;
                    stream >> id >> offset;
                    if (id != wanted)
                        break;
                    index.seek(HeaderSize + offset);
                    const QString name = QString::fromUtf8(index.readLine()).chopped(1);
                    if (indexedName(name) && nameMatches(name, discId))
                        files.append(name);
                }
                return files;
            }
        }
        index.close();
        if (attempt == 0 && !buildIndex(category, indexPath, stamp, progress, stop))
            break;
    }
    if (stop && *stop)
        return {};
    // Without a usable index every file whose name fits is searched.
    QStringList names =
        QDir(folder).entryList(QDir::Files | QDir::Hidden | QDir::System, QDir::NoSort);
    names.erase(std::remove_if(names.begin(), names.end(),
                               [&](const QString &n) { return !nameMatches(n, discId); }),
                names.end());
    std::sort(names.begin(), names.end());
    return names;
}

LocalCddbDatabase::Result LocalCddbDatabase::find(const QString &discId, const Progress &progress,
                                                  const std::atomic<bool> *stop)
{
    Result result;
    if (m_root.isEmpty() || !QFileInfo(m_root).isDir()) {
        result.status = NoDatabase;
        return result;
    }
    const QString id = discId.toLower();
    for (const QString &category : categories()) {
        if (stop && *stop)
            break;
        for (const QString &name : candidates(category, id, progress, stop)) {
            if (stop && *stop)
                break;
            const QString path = m_root + QLatin1Char('/') + category + QLatin1Char('/') + name;
            const QString entry = searchFile(path, id);
            if (entry.isNull())
                continue;
            result.status = Found;
            result.category = category;
            result.entry = entry;
            result.file = path;
            return result;
        }
    }
    return result;
}

} // namespace Orbisong
