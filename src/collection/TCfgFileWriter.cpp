// Writing a TCfgFile: the text of its blocks and the atomic replacement of the file on disk.

#include "collection/TCfgFileParts.h"

#include "collection/StoredText.h"

#include <QFileInfo>
#include <QSaveFile>

#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <unistd.h>

namespace Orbisong {

namespace {

constexpr qsizetype WriteChunk = 1 << 22;

// Lets a test that kills the process time its kill from the moment the file is being written.
void announceWrite(const char *what)
{
    if (qEnvironmentVariableIsSet("ORBISONG_ANNOUNCE_WRITES"))
        std::fputs(what, stderr);
}

// Names and entries are written as UTF-8; bytes of older files that are not convert from
// Windows-1252 on the way out.
void appendText(QByteArray &out, QByteArrayView text)
{
    if (isValidUtf8(text))
        out.append(text);
    else
        out.append(toUtf8Stored(text));
}

// The rename is only durable once the folder's entry for it is on disk. Folders that
// cannot be opened or synced (some file systems refuse) are left as they are; only an
// input/output error counts as a failed write.
bool syncFolder(const QString &fileName)
{
    const QByteArray folder = QFile::encodeName(QFileInfo(fileName).absolutePath());
    const int fd = ::open(folder.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0)
        return true;
    const bool failed = ::fsync(fd) != 0 && errno == EIO;
    ::close(fd);
    return !failed;
}

} // namespace

void CfgText::appendBlock(QByteArray &out, const TCfgFile::Block &block)
{
    out.append('<');
    appendText(out, block.name);
    out.append(">\r\n");
    for (const TCfgFile::Section &section : block.sections) {
        out.append(" [");
        appendText(out, section.name);
        out.append("]\r\n");
        if (!section.split) {
            if (section.canonical && isValidUtf8(section.raw)) {
                out.append(section.raw);
                continue;
            }
            forEachRawEntry(section.raw, [&out](QByteArrayView line) {
                out.append("  ");
                appendText(out, line);
                out.append("\r\n");
                return false;
            });
            continue;
        }
        for (const QByteArray &entry : section.entries) {
            out.append("  ");
            appendText(out, entry);
            out.append("\r\n");
        }
    }
}

TCfgFile::Snapshot::Snapshot() = default;
TCfgFile::Snapshot::~Snapshot() = default;
TCfgFile::Snapshot::Snapshot(Snapshot &&) noexcept = default;
TCfgFile::Snapshot &TCfgFile::Snapshot::operator=(Snapshot &&) noexcept = default;

bool TCfgFile::Snapshot::write(QString *error) const
{
    QSaveFile file(m_fileName);
    if (!file.open(QIODevice::WriteOnly)) {
        *error = file.errorString();
        return false;
    }
    announceWrite("write begins\n");
    QByteArray out;
    out.reserve(WriteChunk + (1 << 16));
    bool ok = true;
    for (const std::shared_ptr<const Block> &block : m_blocks) {
        CfgText::appendBlock(out, *block);
        if (out.size() >= WriteChunk) {
            ok = file.write(out) == out.size();
            out.clear();
            if (!ok)
                break;
        }
    }
    if (ok && !out.isEmpty())
        ok = file.write(out) == out.size();
    // commit() syncs the new file before it renames it over the old one.
    if (!ok || !file.commit()) {
        *error = file.errorString();
        file.cancelWriting();
        return false;
    }
    if (!syncFolder(m_fileName)) {
        *error = QStringLiteral("the folder could not be synced");
        return false;
    }
    announceWrite("write ends\n");
    return true;
}

TCfgFile::Snapshot TCfgFile::snapshot() const
{
    Snapshot snapshot;
    snapshot.m_fileName = m_fileName;
    snapshot.m_data = m_data;
    snapshot.m_blocks.assign(m_blocks.begin(), m_blocks.end());
    return snapshot;
}

void TCfgFile::markSaved(quint64 generation)
{
    if (generation == m_generation)
        m_modified = false;
}

bool TCfgFile::save()
{
    if (!m_modified)
        return true;
    m_error.clear();
    if (!snapshot().write(&m_error))
        return false;
    m_modified = false;
    return true;
}

QByteArray TCfgFile::writtenBlock(const QString &name)
{
    QByteArray out;
    if (const Block *block = findBlock(name.toUtf8()))
        CfgText::appendBlock(out, *block);
    return out;
}

} // namespace Orbisong
