#include "collection/TCfgFile.h"

#include "collection/TCfgFileParts.h"

#include "collection/StoredText.h"

#include <QFile>
#include <QLoggingCategory>
#include <QSet>

#include <algorithm>
#include <cstring>

Q_LOGGING_CATEGORY(lcCfgFile, "orbisong.cfgfile")

namespace Orbisong {

using namespace CfgText;

namespace {

inline char foldByte(char c)
{
    return (c >= 'a' && c <= 'z') ? char(c - 32) : c;
}

QByteArray folded(QByteArrayView name)
{
    QByteArray result(name.size(), Qt::Uninitialized);
    char *out = result.data();
    for (qsizetype i = 0; i < name.size(); ++i)
        out[i] = foldByte(name[i]);
    return result;
}

bool sameName(QByteArrayView a, QByteArrayView b)
{
    if (a.size() != b.size())
        return false;
    for (qsizetype i = 0; i < a.size(); ++i) {
        if (a[i] != b[i] && foldByte(a[i]) != foldByte(b[i]))
            return false;
    }
    return true;
}

// The name of a block or section line: after the opening bracket up to the closing one.
QByteArrayView headerName(QByteArrayView line, char close)
{
    QByteArrayView rest = line.sliced(1);
    const qsizetype end = rest.indexOf(close);
    if (end >= 0)
        rest = rest.first(end);
    return trimmed(rest);
}

// The value of `entry` when it answers to `key`: its first key.size() + 1 characters are
// the key and "=", compared without regard to ASCII case.
bool entryValue(QByteArrayView entry, QByteArrayView key, QByteArrayView *value)
{
    const qsizetype n = key.size();
    if (entry.size() <= n || entry[n] != '=')
        return false;
    if (!sameName(entry.first(n), key))
        return false;
    *value = entry.sliced(n + 1);
    return true;
}

// List order: ascending byte order of the names, the newest first among equal names.
template <typename T> bool listsBefore(const T &a, const T &b)
{
    const int c = QByteArrayView(a.name).compare(QByteArrayView(b.name));
    if (c != 0)
        return c < 0;
    return a.sequence > b.sequence;
}

// The entry text as written: joined, trimmed, control characters replaced by blanks.
QByteArray entryText(QByteArrayView key, const QByteArray &value)
{
    QByteArray text;
    text.reserve(key.size() + 1 + value.size());
    text.append(key).append('=').append(value);
    text = trimmed(text).toByteArray();
    for (char &c : text) {
        if (static_cast<unsigned char>(c) < 32)
            c = ' ';
    }
    return text;
}

void splitSection(TCfgFile::Section &section)
{
    if (section.split)
        return;
    forEachRawEntry(section.raw, [&section](QByteArrayView line) {
        section.entries.push_back(QByteArray::fromRawData(line.data(), line.size()));
        return false;
    });
    section.raw = {};
    section.keys.clear();
    section.split = true;
    section.canonical = false;
}

TCfgFile::Section *findSection(TCfgFile::Block &block, QByteArrayView name)
{
    for (TCfgFile::Section &section : block.sections) {
        if (sameName(section.name, name))
            return &section;
    }
    return nullptr;
}

constexpr std::size_t KeyedSectionSize = 32;

// The key an entry answers to for keys without "=": its text up to the first "=".
QByteArrayView entryKey(QByteArrayView entry)
{
    const qsizetype equals = entry.indexOf('=');
    return equals < 0 ? QByteArrayView() : entry.first(equals);
}

// The position of the first entry of a split section that answers to `key`, or -1.
int findEntry(TCfgFile::Section &section, QByteArrayView key, quint64 &steps)
{
    QByteArrayView value;
    if (section.entries.size() < KeyedSectionSize || key.contains('=')) {
        for (std::size_t i = 0; i < section.entries.size(); ++i) {
            ++steps;
            if (entryValue(section.entries[i], key, &value))
                return int(i);
        }
        return -1;
    }
    if (section.keys.isEmpty()) {
        // Backwards, so that the first of equal keys is the one kept.
        steps += section.entries.size();
        for (std::size_t i = section.entries.size(); i-- > 0;) {
            const QByteArrayView name = entryKey(section.entries[i]);
            if (!name.isNull())
                section.keys.insert(folded(name), int(i));
        }
    }
    return section.keys.value(folded(key), -1);
}

} // namespace

TCfgFile::TCfgFile(const QString &fileName) : m_fileName(fileName)
{
}

TCfgFile::~TCfgFile()
{
    if (m_modified)
        qCWarning(lcCfgFile) << "discarding unsaved changes of" << m_fileName;
}

void TCfgFile::clear()
{
    m_blocks.clear();
    m_byName.clear();
    m_cacheBlock = nullptr;
    m_cacheName.clear();
    m_data.clear();
    m_modified = false;
    ++m_generation;
}

bool TCfgFile::load()
{
    clear();
    m_error.clear();
    QFile file(m_fileName);
    if (!file.exists())
        return true;
    if (!file.open(QIODevice::ReadOnly)) {
        m_error = file.errorString();
        return false;
    }
    const qint64 size = file.size();
    m_data = QByteArray(size, Qt::Uninitialized);
    qint64 done = 0;
    while (done < size) {
        const qint64 got = file.read(m_data.data() + done, size - done);
        if (got < 0) {
            m_error = file.errorString();
            clear();
            return false;
        }
        if (got == 0)
            break;
        done += got;
    }
    m_data.truncate(done);

    const char *begin = m_data.constData();
    const char *end = begin + m_data.size();
    if (const void *nul = std::memchr(begin, '\0', size_t(end - begin)))
        end = static_cast<const char *>(nul);

    std::vector<std::shared_ptr<Block>> blocks;
    Block *block = nullptr;
    Section *section = nullptr;
    const char *sectionStart = nullptr;
    bool sectionCanonical = true;
    quint64 sequence = 0;

    auto closeSection = [&](const char *at) {
        if (section) {
            section->raw = QByteArrayView(sectionStart, at - sectionStart);
            section->canonical = sectionCanonical;
        }
        section = nullptr;
    };

    for (const char *p = begin; p < end;) {
        const char *lf = static_cast<const char *>(std::memchr(p, '\n', size_t(end - p)));
        const char *lineEnd = lf ? lf : end;
        const QByteArrayView raw(p, lineEnd - p);
        const QByteArrayView line = trimmed(raw);
        const char *next = lf ? lf + 1 : end;
        if (line.size() < 2) {
            sectionCanonical = false;
        } else if (line[0] == '<') {
            closeSection(p);
            blocks.push_back(std::make_shared<Block>());
            block = blocks.back().get();
            const QByteArrayView name = headerName(line, '>');
            block->name = QByteArray::fromRawData(name.data(), name.size());
            block->sequence = sequence++;
        } else if (line[0] == '[') {
            closeSection(p);
            if (block) {
                const QByteArrayView name = headerName(line, ']');
                Section fresh;
                fresh.name = QByteArray::fromRawData(name.data(), name.size());
                fresh.sequence = sequence++;
                block->sections.push_back(std::move(fresh));
                section = &block->sections.back();
                sectionStart = next;
                sectionCanonical = true;
            }
        } else if (section && sectionCanonical) {
            // The written form of an entry: two blanks, the text, CR LF.
            sectionCanonical = lf && raw.size() == line.size() + 3 && raw[0] == ' ' &&
                               raw[1] == ' ' && raw[raw.size() - 1] == '\r';
        }
        p = next;
    }
    closeSection(end);

    for (const std::shared_ptr<Block> &b : blocks) {
        if (!isValidUtf8(b->name))
            b->name = toUtf8Stored(b->name);
        b->folded = folded(b->name);
        for (Section &s : b->sections) {
            if (!isValidUtf8(s.name))
                s.name = toUtf8Stored(s.name);
        }
        if (!std::is_sorted(b->sections.begin(), b->sections.end(), listsBefore<Section>))
            std::sort(b->sections.begin(), b->sections.end(), listsBefore<Section>);
    }
    auto blockBefore = [](const std::shared_ptr<Block> &a, const std::shared_ptr<Block> &b) {
        return listsBefore(*a, *b);
    };
    if (!std::is_sorted(blocks.begin(), blocks.end(), blockBefore))
        std::sort(blocks.begin(), blocks.end(), blockBefore);
    m_blocks = std::move(blocks);
    m_byName.reserve(qsizetype(m_blocks.size()));
    for (const std::shared_ptr<Block> &b : m_blocks) {
        NameSlot &slot = m_byName[b->folded];
        if (!slot.first)
            slot.first = b.get();
        ++slot.count;
    }
    m_nextSequence = sequence;
    return true;
}

TCfgFile::Block *TCfgFile::findBlock(QByteArrayView name)
{
    if (m_cacheBlock && sameName(m_cacheName, name))
        return m_cacheBlock;
    const auto found = m_byName.constFind(folded(name));
    return found == m_byName.constEnd() ? nullptr : found->first;
}

std::size_t TCfgFile::positionOf(const Block *block) const
{
    const auto found = std::lower_bound(
        m_blocks.begin(), m_blocks.end(), block,
        [](const std::shared_ptr<Block> &a, const Block *b) { return listsBefore(*a, *b); });
    return std::size_t(found - m_blocks.begin());
}

void TCfgFile::indexBlock(Block *block)
{
    NameSlot &slot = m_byName[block->folded];
    if (!slot.first || listsBefore(*block, *slot.first))
        slot.first = block;
    ++slot.count;
}

void TCfgFile::unindexBlock(Block *block)
{
    const auto found = m_byName.find(block->folded);
    if (found == m_byName.end())
        return;
    if (--found->count == 0) {
        m_byName.erase(found);
        return;
    }
    if (found->first != block)
        return;
    // Names that differ only in case or repeat are rare: find the next one by a scan.
    found->first = nullptr;
    for (const std::shared_ptr<Block> &b : m_blocks) {
        ++m_steps;
        if (b.get() != block && b->folded == block->folded) {
            found->first = b.get();
            break;
        }
    }
}

void TCfgFile::insertBlock(std::shared_ptr<Block> block)
{
    const std::size_t position = positionOf(block.get());
    Block *raw = block.get();
    m_blocks.insert(m_blocks.begin() + std::ptrdiff_t(position), std::move(block));
    indexBlock(raw);
}

void TCfgFile::eraseBlockAt(std::size_t position)
{
    Block *block = m_blocks[position].get();
    if (block == m_cacheBlock) {
        m_cacheBlock = nullptr;
        m_cacheName.clear();
    }
    unindexBlock(block);
    m_steps += m_blocks.size() - position;
    m_blocks.erase(m_blocks.begin() + std::ptrdiff_t(position));
}

TCfgFile::Block *TCfgFile::findOrCreateBlock(QByteArrayView name)
{
    Block *block = findBlock(name);
    if (!block) {
        auto fresh = std::make_shared<Block>();
        fresh->name = name.toByteArray();
        for (char &c : fresh->name) {
            if (static_cast<unsigned char>(c) < 32)
                c = ' ';
        }
        fresh->folded = folded(fresh->name);
        fresh->sequence = m_nextSequence++;
        block = fresh.get();
        insertBlock(std::move(fresh));
    }
    block = mutableBlock(block);
    m_cacheBlock = block;
    m_cacheName = block->name;
    return block;
}

TCfgFile::Block *TCfgFile::mutableBlock(Block *block)
{
    std::shared_ptr<Block> &slot = m_blocks[positionOf(block)];
    // Snapshots are only taken on this thread, so a count of 1 cannot rise meanwhile.
    if (slot.use_count() == 1)
        return block;
    auto copy = std::make_shared<Block>(*block);
    const auto found = m_byName.find(block->folded);
    if (found != m_byName.end() && found->first == block)
        found->first = copy.get();
    if (m_cacheBlock == block)
        m_cacheBlock = copy.get();
    slot = std::move(copy);
    return slot.get();
}

void TCfgFile::changed()
{
    m_modified = true;
    ++m_generation;
}

QByteArrayView TCfgFile::readRaw(QByteArrayView blockName, QByteArrayView sectionName,
                                 QByteArrayView key, bool *found)
{
    *found = false;
    Block *block = findBlock(blockName);
    if (!block)
        return {};
    m_cacheBlock = block;
    m_cacheName = block->name;
    return readFrom(*block, sectionName, key, found);
}

QByteArrayView TCfgFile::readRawAt(int position, QByteArrayView section, QByteArrayView key,
                                   bool *found)
{
    *found = false;
    return readFrom(*m_blocks.at(std::size_t(position)), section, key, found);
}

QByteArrayView TCfgFile::readFrom(Block &block, QByteArrayView sectionName, QByteArrayView key,
                                  bool *found)
{
    Section *section = findSection(block, sectionName);
    if (!section)
        return {};
    QByteArrayView value;
    if (section->split) {
        const int at = findEntry(*section, key, m_steps);
        if (at < 0)
            return {};
        entryValue(section->entries[std::size_t(at)], key, &value);
        *found = true;
        return value;
    }
    forEachRawEntry(section->raw, [&](QByteArrayView line) {
        *found = entryValue(line, key, &value);
        return *found;
    });
    return *found ? value : QByteArrayView();
}

QString TCfgFile::ReadString(const QString &block, const QString &section, const QString &key,
                             const QString &fallback)
{
    bool found = false;
    const QByteArrayView value = readRaw(block.toUtf8(), section.toUtf8(), key.toUtf8(), &found);
    return found ? decodeStoredText(value) : fallback;
}

void TCfgFile::writeValue(QByteArrayView blockName, QByteArrayView sectionName, QByteArrayView key,
                          const QByteArray &value)
{
    Block *block = findOrCreateBlock(blockName);
    Section *section = findSection(*block, sectionName);
    if (!section) {
        Section fresh;
        fresh.name = sectionName.toByteArray();
        for (char &c : fresh.name) {
            if (static_cast<unsigned char>(c) < 32)
                c = ' ';
        }
        fresh.sequence = m_nextSequence++;
        fresh.split = true;
        const auto position = std::lower_bound(block->sections.begin(), block->sections.end(),
                                               fresh, listsBefore<Section>);
        section = &*block->sections.insert(position, std::move(fresh));
    }
    splitSection(*section);
    QByteArray text = entryText(key, value);
    changed();
    const int at = findEntry(*section, key, m_steps);
    if (at >= 0) {
        section->entries[std::size_t(at)] = std::move(text);
        return;
    }
    section->entries.push_back(std::move(text));
    const QByteArrayView name = entryKey(section->entries.back());
    if (!section->keys.isEmpty() && !name.isNull() && !section->keys.contains(folded(name)))
        section->keys.insert(folded(name), int(section->entries.size()) - 1);
}

void TCfgFile::WriteString(const QString &block, const QString &section, const QString &key,
                           const QString &value)
{
    writeValue(block.toUtf8(), section.toUtf8(), key.toUtf8(), value.toUtf8());
}

int TCfgFile::ReadInteger(const QString &block, const QString &section, const QString &key,
                          int fallback)
{
    const QString text = ReadString(block, section, key, QString::number(fallback));
    bool ok = false;
    int value;
    if (text.startsWith(QLatin1Char('$')))
        value = int(text.mid(1).toUInt(&ok, 16));
    else
        value = text.toInt(&ok, 10);
    return ok ? value : fallback;
}

void TCfgFile::WriteInteger(const QString &block, const QString &section, const QString &key,
                            int value)
{
    WriteString(block, section, key, QString::number(value));
}

bool TCfgFile::ReadBool(const QString &block, const QString &section, const QString &key,
                        bool fallback)
{
    return (ReadInteger(block, section, key, fallback ? 1 : 0) & 0xFF) != 0;
}

void TCfgFile::WriteBool(const QString &block, const QString &section, const QString &key,
                         bool value)
{
    WriteInteger(block, section, key, value ? 1 : 0);
}

void TCfgFile::ReadBlockNames(QStringList &names) const
{
    names.reserve(names.size() + qsizetype(m_blocks.size()));
    for (const std::shared_ptr<Block> &block : m_blocks)
        names.append(QString::fromUtf8(block->name));
}

QByteArrayView TCfgFile::blockNameAt(int position) const
{
    return m_blocks.at(std::size_t(position))->name;
}

bool TCfgFile::blockExists(const QString &block)
{
    return findBlock(block.toUtf8()) != nullptr;
}

void TCfgFile::EraseBlock(const QString &name)
{
    changed();
    Block *block = findBlock(name.toUtf8());
    if (block)
        eraseBlockAt(positionOf(block));
}

void TCfgFile::EraseBlocks(const QStringList &names)
{
    changed();
    m_cacheBlock = nullptr;
    m_cacheName.clear();
    QSet<const Block *> doomed;
    for (const QString &name : names) {
        Block *block = findBlock(name.toUtf8());
        if (!block)
            continue;
        doomed.insert(block);
        // The next block of the same name, when there is one, becomes the first; such names
        // are rare, so it is found by a scan.
        const auto slot = m_byName.find(block->folded);
        if (--slot->count == 0) {
            m_byName.erase(slot);
            continue;
        }
        Block *next = nullptr;
        for (const std::shared_ptr<Block> &b : m_blocks) {
            ++m_steps;
            if (!doomed.contains(b.get()) && b->folded == block->folded) {
                next = b.get();
                break;
            }
        }
        slot->first = next;
    }
    m_steps += m_blocks.size();
    std::erase_if(m_blocks,
                  [&doomed](const std::shared_ptr<Block> &b) { return doomed.contains(b.get()); });
}

int TCfgFile::renameRepeatedBlocks(
    const std::function<void(const QString &, const QString &)> &renamed)
{
    int count = 0;
    for (const auto &slot : std::as_const(m_byName))
        count += slot.count > 1 ? 1 : 0;
    if (count == 0)
        return 0;
    count = 0;
    QSet<QByteArray> seen;
    seen.reserve(qsizetype(m_blocks.size()));
    for (std::shared_ptr<Block> &block : m_blocks) {
        if (!seen.contains(block->folded)) {
            seen.insert(block->folded);
            continue;
        }
        QByteArray name;
        for (int n = 2;; ++n) {
            name = block->name + '~' + QByteArray::number(n);
            if (!m_byName.contains(folded(name)) && !seen.contains(folded(name)))
                break;
        }
        auto copy = std::make_shared<Block>(*block);
        copy->name = name;
        copy->folded = folded(name);
        seen.insert(copy->folded);
        renamed(QString::fromUtf8(block->name), QString::fromUtf8(name));
        block = std::move(copy);
        ++count;
    }
    changed();
    std::sort(m_blocks.begin(), m_blocks.end(),
              [](const std::shared_ptr<Block> &a, const std::shared_ptr<Block> &b) {
                  return listsBefore(*a, *b);
              });
    m_byName.clear();
    for (const std::shared_ptr<Block> &b : m_blocks)
        indexBlock(b.get());
    m_cacheBlock = nullptr;
    m_cacheName.clear();
    return count;
}

void TCfgFile::EraseSection(const QString &blockName, const QString &sectionName)
{
    changed();
    Block *block = findBlock(blockName.toUtf8());
    if (!block)
        return;
    block = mutableBlock(block);
    const QByteArray name = sectionName.toUtf8();
    for (auto it = block->sections.begin(); it != block->sections.end(); ++it) {
        if (sameName(it->name, name)) {
            block->sections.erase(it);
            return;
        }
    }
}

} // namespace Orbisong
