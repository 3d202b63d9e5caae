#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QHash>
#include <QString>
#include <QStringList>

#include <functional>
#include <memory>
#include <vector>

namespace Orbisong {

// The program's sectioned text file: blocks ("<name>") holding sections (" [name]") holding
// entries ("  key=value"). The whole file is held in memory between load() and save();
// nothing touches the disk in between.
//
// Blocks are shared with snapshots and copied before their first change after one was
// taken, so a snapshot is a cheap, unchanging picture of the file that another thread can
// write while this object goes on changing.
//
// Blocks in the file and sections in a block are kept sorted by name in case-sensitive byte
// order, the newest first among equal names; every lookup compares names without regard to
// ASCII letter case and finds the first match in that order. Entries keep their order.
//
// The file is 8-bit text: values are written as UTF-8, and bytes that are not valid UTF-8
// are read as Windows-1252.
class TCfgFile
{
public:
    struct Block;
    struct Section;

    explicit TCfgFile(const QString &fileName);
    // Does not save: the owner saves and reports failures while it still can.
    ~TCfgFile();

    TCfgFile(const TCfgFile &) = delete;
    TCfgFile &operator=(const TCfgFile &) = delete;

    // Reads the file. A missing file gives an empty object and is no error; false (with
    // errorString()) when an existing file cannot be read.
    bool load();
    // When modified, writes the whole file to a temporary file in the same folder and renames
    // it over the old one, then clears the modified flag; otherwise does nothing. On failure
    // the file on disk is unchanged, the object keeps its state and errorString() says why.
    bool save();

    // The content as it is now, for writing on any thread; it stays valid and unchanged
    // whatever happens to this object afterwards.
    class Snapshot
    {
    public:
        Snapshot();
        ~Snapshot();
        Snapshot(Snapshot &&) noexcept;
        Snapshot &operator=(Snapshot &&) noexcept;

        QString fileName() const { return m_fileName; }
        // Writes a temporary file in the same folder, syncs it, renames it over the file and
        // syncs the folder: the disk holds the old file or this one, also after a power cut.
        bool write(QString *error) const;

    private:
        friend class TCfgFile;
        QString m_fileName;
        QByteArray m_data;
        std::vector<std::shared_ptr<const Block>> m_blocks;
    };
    Snapshot snapshot() const;
    // Rises with every change; a write of the snapshot taken at `generation` clears the
    // modified flag through markSaved() unless the file changed since.
    quint64 generation() const { return m_generation; }
    void markSaved(quint64 generation);

    QString fileName() const { return m_fileName; }
    QString errorString() const { return m_error; }
    bool isModified() const { return m_modified; }

    // The value of the first matching entry, `fallback` when the block, section or key is
    // missing. An entry with nothing after its "=" gives the empty string.
    QString ReadString(const QString &block, const QString &section, const QString &key,
                       const QString &fallback);
    // Creates the block and the section when missing, then replaces the first matching
    // entry or appends one. The entry text is trimmed and control characters become blanks.
    void WriteString(const QString &block, const QString &section, const QString &key,
                     const QString &value);
    // Decimal, or hexadecimal after "$"; text that does not convert gives `fallback`.
    int ReadInteger(const QString &block, const QString &section, const QString &key, int fallback);
    void WriteInteger(const QString &block, const QString &section, const QString &key, int value);
    // True when the lowest 8 bits of the stored integer are not all zero.
    bool ReadBool(const QString &block, const QString &section, const QString &key, bool fallback);
    void WriteBool(const QString &block, const QString &section, const QString &key, bool value);
    // Appends every block name in list order.
    void ReadBlockNames(QStringList &names) const;
    // Removes the first matching block (sets the modified flag even when none matched).
    void EraseBlock(const QString &block);
    // The same as erasing each name in turn, in one pass over the file.
    void EraseBlocks(const QStringList &blocks);
    // Gives every block whose name an earlier block in list order has (without regard to
    // case) a name of its own, the name followed by "~" and a number; tells `renamed` of
    // each. Returns how many were renamed.
    int renameRepeatedBlocks(const std::function<void(const QString &, const QString &)> &renamed);
    // Removes the first matching section of the first matching block.
    void EraseSection(const QString &block, const QString &section);

    bool blockExists(const QString &block);
    // How many entries and blocks writes and erasures have stepped over so far, for checks
    // that bulk changes stay linear in their size.
    quint64 steps() const { return m_steps; }
    int blockCount() const { return int(m_blocks.size()); }
    // The block as save() would write it: its block line, section lines and entries, each
    // line ending in CR LF. Empty when the block does not exist.
    QByteArray writtenBlock(const QString &block);

    // The stored bytes of a value without decoding, for hot loops over many blocks; the view
    // is valid until the next change to the file. `found` tells a missing key apart.
    QByteArrayView readRaw(QByteArrayView block, QByteArrayView section, QByteArrayView key,
                           bool *found);
    // The same for the block at `position` in list order.
    QByteArrayView readRawAt(int position, QByteArrayView section, QByteArrayView key, bool *found);
    // The raw name of the block at `position` in list order.
    QByteArrayView blockNameAt(int position) const;

private:
    Block *findBlock(QByteArrayView name);
    // The block itself when no snapshot shares it, else a copy that replaces it.
    Block *mutableBlock(Block *block);
    void changed();
    QByteArrayView readFrom(Block &block, QByteArrayView section, QByteArrayView key, bool *found);
    Block *findOrCreateBlock(QByteArrayView name);
    void insertBlock(std::shared_ptr<Block> block);
    void eraseBlockAt(std::size_t position);
    std::size_t positionOf(const Block *block) const;
    void indexBlock(Block *block);
    void unindexBlock(Block *block);
    void clear();
    void writeValue(QByteArrayView block, QByteArrayView section, QByteArrayView key,
                    const QByteArray &value);

    QString m_fileName;
    QString m_error;
    QByteArray m_data; // the file as read; unchanged entries point into it
    std::vector<std::shared_ptr<Block>> m_blocks; // in list order
    // Upper-cased name -> the first block of that name in list order, and how many share it.
    struct NameSlot
    {
        Block *first = nullptr;
        int count = 0;
    };
    QHash<QByteArray, NameSlot> m_byName;
    Block *m_cacheBlock = nullptr;
    QByteArray m_cacheName;
    quint64 m_nextSequence = 0;
    quint64 m_generation = 0;
    quint64 m_steps = 0;
    bool m_modified = false;
};

} // namespace Orbisong
