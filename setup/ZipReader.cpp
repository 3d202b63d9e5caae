#include "ZipReader.h"

#include "SetupStrings.h"
#include "ZipCipher.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QStringDecoder>

#include <zlib.h>

#include <limits>
#include <vector>

namespace Orbisong {

namespace {

constexpr uint32_t LocalHeaderSignature = 0x04034b50;
constexpr uint32_t CentralHeaderSignature = 0x02014b50;
constexpr uint32_t EndOfCentralSignature = 0x06054b50;
constexpr uint32_t ArchiveExtraSignature = 0x08064b50;
constexpr uint32_t DescriptorSignature = 0x08074b50;
constexpr int LocalHeaderFixedSize = 26;
constexpr int EncryptionHeaderSize = 12;
constexpr qsizetype InputChunk = 32768;
constexpr qsizetype OutputBufferSize = 32776;

constexpr uint16_t FlagEncrypted = 0x0001;
constexpr uint16_t FlagDescriptor = 0x0008;
constexpr uint16_t FlagUtf8Name = 0x0800;

constexpr char BuiltInPassword[] = "Arcwell installation disk: keep it together!";
static_assert(sizeof(BuiltInPassword) - 1 == 44, "the built-in password has 44 characters");

QString decodeName(const QByteArray &raw, bool utf8Flag)
{
    if (utf8Flag)
        return QString::fromUtf8(raw);
    QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    const QString text = decoder.decode(raw);
    if (!decoder.hasError())
        return text;
    QStringDecoder windows("windows-1252");
    return windows.isValid() ? windows.decode(raw) : QString::fromLatin1(raw);
}

QString hex8(uLong value)
{
    return QStringLiteral("%1").arg(qulonglong(value), 8, 16, QLatin1Char('0'));
}

} // namespace

struct ZipReader::Entry
{
    QString name;
    QString path;
    uint16_t flags = 0;
    uint16_t method = 0;
    uint16_t time = 0;
    uint32_t crc = 0;
    qint64 compressedSize = 0;
    qint64 size = 0;
    bool sizesKnown = true;
    std::unique_ptr<ZipCipher> cipher;
};

// Reads the mapped archive front to back.
class ZipReader::Cursor
{
public:
    Cursor(const uchar *data, qint64 size) : m_data(data), m_size(size) {}

    qint64 position() const { return m_position; }
    qint64 remaining() const { return m_size - m_position; }
    const uchar *here() const { return m_data + m_position; }
    void skip(qint64 count) { m_position += count; }

    uint16_t u16()
    {
        const uint16_t value = uint16_t(m_data[m_position] | (m_data[m_position + 1] << 8));
        m_position += 2;
        return value;
    }

    uint32_t u32()
    {
        const uint32_t low = u16();
        return low | (uint32_t(u16()) << 16);
    }

    uint32_t peek32() const
    {
        const uchar *p = here();
        return uint32_t(p[0]) | (uint32_t(p[1]) << 8) | (uint32_t(p[2]) << 16) |
               (uint32_t(p[3]) << 24);
    }

private:
    const uchar *m_data;
    qint64 m_size;
    qint64 m_position = 0;
};

ZipReader::ZipReader(const QString &archive, const QString &destination)
    : m_archive(archive), m_destination(QDir::cleanPath(destination))
{
    if (QFileInfo(archive).suffix().isEmpty())
        m_archive += QStringLiteral(".ZIP");
}

QByteArray ZipReader::builtInPassword()
{
    return QByteArray(BuiltInPassword);
}

QString ZipReader::confinedName(const QString &name)
{
    if (name.contains(QChar(0)))
        return {};
    QString path = name;
    path.replace(QLatin1Char('\\'), QLatin1Char('/'));
    if (path.startsWith(QLatin1Char('/')))
        return {};
    if (path.size() >= 2 && path.at(1) == QLatin1Char(':'))
        return {};
    QStringList kept;
    for (const QString &part : path.split(QLatin1Char('/'), Qt::SkipEmptyParts)) {
        if (part == QLatin1String(".."))
            return {};
        if (part != QLatin1String("."))
            kept << part;
    }
    return kept.join(QLatin1Char('/'));
}

bool ZipReader::fail(int id, const QStringList &args)
{
    m_errorId = id;
    m_error = SetupStrings::format(id, args);
    return false;
}

bool ZipReader::failText(const QString &text)
{
    m_errorId = 0;
    m_error = text;
    return false;
}

bool ZipReader::report(qint64 bytes)
{
    if (m_progress && !m_progress(bytes)) {
        m_cancelled = true;
        m_error.clear();
        return false;
    }
    return true;
}

bool ZipReader::extractAll()
{
    m_error.clear();
    m_errorId = 0;
    m_cancelled = false;
    m_written.clear();

    QFile file(m_archive);
    if (!file.open(QIODevice::ReadOnly))
        return fail(SetupStrings::CannotOpenInput, {m_archive});
    const qint64 size = file.size();
    if (size < 4)
        return fail(SetupStrings::InvalidHeader);
    const uchar *data = file.map(0, size);
    if (!data)
        return fail(SetupStrings::ReadError, {m_archive});

    Cursor cursor(data, size);
    while (cursor.remaining() > 0) {
        if (cursor.remaining() < 4)
            return fail(SetupStrings::InvalidHeader);
        const uint32_t signature = cursor.u32();
        if (signature == CentralHeaderSignature || signature == EndOfCentralSignature ||
            signature == ArchiveExtraSignature)
            return true;
        // A split-archive marker may precede the first entry.
        if (signature == DescriptorSignature && cursor.position() == 4)
            continue;
        if (signature != LocalHeaderSignature)
            return fail(SetupStrings::InvalidHeader);
        if (!extractEntry(cursor))
            return false;
    }
    return true;
}

bool ZipReader::extractEntry(Cursor &cursor)
{
    if (cursor.remaining() < LocalHeaderFixedSize)
        return fail(SetupStrings::InvalidHeader);
    Entry entry;
    cursor.u16(); // version needed
    entry.flags = cursor.u16();
    entry.method = cursor.u16();
    entry.time = cursor.u16();
    cursor.u16(); // date
    entry.crc = cursor.u32();
    entry.compressedSize = cursor.u32();
    entry.size = cursor.u32();
    const uint16_t nameLength = cursor.u16();
    const uint16_t extraLength = cursor.u16();
    if (cursor.remaining() < qint64(nameLength) + extraLength)
        return fail(SetupStrings::InvalidHeader);
    const QByteArray rawName(reinterpret_cast<const char *>(cursor.here()), nameLength);
    cursor.skip(nameLength + extraLength);
    entry.name = decodeName(rawName, entry.flags & FlagUtf8Name);
    entry.path = confinedName(entry.name);
    if (entry.path.isEmpty())
        return fail(SetupStrings::InvalidHeader);

    // With a data descriptor the header's sizes may be zero; a deflated stream finds its own
    // end, a stored one cannot.
    const bool descriptor = entry.flags & FlagDescriptor;
    entry.sizesKnown = !descriptor || entry.compressedSize != 0;
    if (!entry.sizesKnown && entry.method != 8 && !entry.name.endsWith(QLatin1Char('/')) &&
        !entry.name.endsWith(QLatin1Char('\\')))
        return fail(SetupStrings::InvalidHeader);
    if (entry.sizesKnown && cursor.remaining() < entry.compressedSize)
        return fail(SetupStrings::ReadError, {m_archive});

    const bool folder =
        entry.name.endsWith(QLatin1Char('/')) || entry.name.endsWith(QLatin1Char('\\'));
    const bool skippedEmpty = m_skipEmpty && !descriptor && entry.size == 0;
    if (folder || skippedEmpty) {
        cursor.skip(entry.sizesKnown ? entry.compressedSize : 0);
        return !descriptor || readDescriptor(cursor, entry);
    }

    if (entry.flags & FlagEncrypted) {
        if (cursor.remaining() < EncryptionHeaderSize ||
            (entry.sizesKnown && entry.compressedSize < EncryptionHeaderSize))
            return fail(SetupStrings::ReadError, {m_archive});
        const QByteArray password = m_password.isNull() ? builtInPassword() : m_password;
        if (password.isEmpty())
            return failText(QStringLiteral("NO PASSWORD: %1").arg(entry.name));
        entry.cipher = std::make_unique<ZipCipher>(password);
        uint8_t header[EncryptionHeaderSize];
        std::copy(cursor.here(), cursor.here() + EncryptionHeaderSize, header);
        entry.cipher->decrypt(header, EncryptionHeaderSize);
        cursor.skip(EncryptionHeaderSize);
        if (entry.sizesKnown)
            entry.compressedSize -= EncryptionHeaderSize;
        // The last header byte repeats the CRC's high byte, or the time's when the CRC
        // follows the data.
        const uint8_t check = descriptor ? uint8_t(entry.time >> 8) : uint8_t(entry.crc >> 24);
        if (header[EncryptionHeaderSize - 1] != check)
            return failText(QStringLiteral("INCORRECT PASSWORD: %1").arg(entry.name));
    }
    if (entry.method != 0 && entry.method != 8)
        return fail(SetupStrings::UnknownCompression);
    return writeEntry(cursor, entry);
}

bool ZipReader::readDescriptor(Cursor &cursor, Entry &entry)
{
    if (cursor.remaining() >= 4 && cursor.peek32() == DescriptorSignature)
        cursor.skip(4);
    if (cursor.remaining() < 12)
        return fail(SetupStrings::InvalidHeader);
    entry.crc = cursor.u32();
    entry.compressedSize = cursor.u32();
    entry.size = cursor.u32();
    return true;
}

bool ZipReader::prepareFolder(const QString &relativeFile)
{
    QStringList parts = relativeFile.split(QLatin1Char('/'));
    parts.removeLast();
    QString path = m_destination;
    for (const QString &part : parts) {
        path += QLatin1Char('/') + part;
        const QFileInfo info(path);
        // A link here could point anywhere; writing through it would leave the destination.
        if (info.isSymLink())
            return false;
        if (!info.exists()) {
            if (!QDir().mkdir(path))
                return false;
        } else if (!info.isDir()) {
            return false;
        }
    }
    return true;
}

bool ZipReader::writeEntry(Cursor &cursor, Entry &entry)
{
    if (m_fileStarted)
        m_fileStarted(entry.path);
    const QString target = m_destination + QLatin1Char('/') + entry.path;
    if (!prepareFolder(entry.path))
        return fail(SetupStrings::CannotCreateOutput, {target});
    const QFileInfo targetInfo(target);
    if (targetInfo.isSymLink())
        QFile::remove(target);
    else if (targetInfo.isDir())
        return fail(SetupStrings::CannotCreateOutput, {target});

    QSaveFile out(target);
    if (!out.open(QIODevice::WriteOnly))
        return fail(SetupStrings::CannotCreateOutput, {target});

    // The header's size bounds the output whenever it is known, so a damaged or hostile
    // entry cannot fill the disk.
    const qint64 limit = entry.sizesKnown ? entry.size : std::numeric_limits<qint64>::max();
    uLong crc = crc32(0L, Z_NULL, 0);
    qint64 written = 0;
    std::vector<uchar> input(InputChunk);
    std::vector<uchar> output(OutputBufferSize);

    auto put = [&](const uchar *bytes, qsizetype count) {
        if (written + count > limit)
            return fail(SetupStrings::InvalidHeader);
        crc = crc32(crc, bytes, uInt(count));
        written += count;
        if (out.write(reinterpret_cast<const char *>(bytes), count) != count)
            return fail(SetupStrings::WriteError, {target});
        return true;
    };
    auto take = [&](qsizetype count) {
        std::copy(cursor.here(), cursor.here() + count, input.begin());
        if (entry.cipher)
            entry.cipher->decrypt(input.data(), count);
        cursor.skip(count);
    };

    if (entry.method == 0) {
        qint64 left = entry.compressedSize;
        while (left > 0) {
            const qsizetype count = qsizetype(std::min<qint64>(left, InputChunk));
            take(count);
            left -= count;
            if (!put(input.data(), count) || !report(count))
                return false;
        }
    } else {
        z_stream stream{};
        if (inflateInit2(&stream, -MAX_WBITS) != Z_OK)
            return fail(SetupStrings::OutOfMemory);
        const qint64 start = cursor.position();
        const qint64 available = entry.sizesKnown ? entry.compressedSize : cursor.remaining();
        qint64 fed = 0;
        int status = Z_OK;
        bool ok = true;
        while (ok && status != Z_STREAM_END) {
            if (stream.avail_in == 0) {
                const qsizetype count = qsizetype(std::min<qint64>(available - fed, InputChunk));
                if (count == 0) {
                    ok = fail(SetupStrings::ReadError, {m_archive});
                    break;
                }
                take(count);
                fed += count;
                stream.next_in = input.data();
                stream.avail_in = uInt(count);
            }
            while (ok && status != Z_STREAM_END && stream.avail_in > 0) {
                stream.next_out = output.data();
                stream.avail_out = uInt(output.size());
                const uInt before = stream.avail_in;
                status = inflate(&stream, Z_NO_FLUSH);
                const qsizetype produced = qsizetype(output.size() - stream.avail_out);
                const bool stuck = produced == 0 && stream.avail_in == before;
                if (status == Z_MEM_ERROR)
                    ok = fail(SetupStrings::OutOfMemory);
                else if ((status != Z_OK && status != Z_STREAM_END) || stuck)
                    ok = fail(SetupStrings::BadCrc, {entry.name, hex8(crc), hex8(entry.crc)});
                else
                    ok = put(output.data(), produced) && report(before - stream.avail_in);
            }
        }
        // Bytes handed to inflate past the stream's end belong to what follows it.
        const qint64 consumed = fed - stream.avail_in;
        inflateEnd(&stream);
        if (!ok)
            return false;
        const qint64 end = start + (entry.sizesKnown ? entry.compressedSize : consumed);
        cursor.skip(end - cursor.position());
    }

    if ((entry.flags & FlagDescriptor) && !readDescriptor(cursor, entry))
        return false;
    if (written != entry.size)
        return fail(SetupStrings::InvalidHeader);
    if (crc != entry.crc)
        return fail(SetupStrings::BadCrc, {entry.name, hex8(crc), hex8(entry.crc)});
    if (!out.commit())
        return fail(SetupStrings::WriteError, {target});
    m_written << entry.path;
    return true;
}

} // namespace Orbisong
