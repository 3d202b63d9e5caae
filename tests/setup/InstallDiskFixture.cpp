#include "InstallDiskFixture.h"

#include "Installer.h"
#include "ZipCipher.h"
#include "ZipReader.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <zlib.h>

namespace {

void put16(QByteArray &out, quint32 value)
{
    out.append(char(value & 0xFF));
    out.append(char((value >> 8) & 0xFF));
}

void put32(QByteArray &out, quint32 value)
{
    put16(out, value & 0xFFFF);
    put16(out, value >> 16);
}

constexpr quint16 FixedTime = 0x6C21;
constexpr quint16 FixedDate = 0x5987;

} // namespace

quint32 ZipFixture::crc(const QByteArray &data)
{
    return quint32(crc32(crc32(0L, Z_NULL, 0), reinterpret_cast<const Bytef *>(data.constData()),
                         uInt(data.size())));
}

QByteArray ZipFixture::deflateRaw(const QByteArray &data)
{
    z_stream stream{};
    deflateInit2(&stream, Z_BEST_COMPRESSION, Z_DEFLATED, -MAX_WBITS, 8, Z_DEFAULT_STRATEGY);
    QByteArray out(int(deflateBound(&stream, uLong(data.size()))), Qt::Uninitialized);
    stream.next_in = reinterpret_cast<Bytef *>(const_cast<char *>(data.constData()));
    stream.avail_in = uInt(data.size());
    stream.next_out = reinterpret_cast<Bytef *>(out.data());
    stream.avail_out = uInt(out.size());
    deflate(&stream, Z_FINISH);
    out.resize(int(stream.total_out));
    deflateEnd(&stream);
    return out;
}

void ZipFixture::add(const FixtureEntry &entry)
{
    const quint32 realCrc = crc(entry.data);
    const quint32 writtenCrc = entry.badCrc ? realCrc + 1 : realCrc;
    QByteArray payload = entry.method == 8 ? deflateRaw(entry.data) : entry.data;
    quint16 flags = 0;
    if (entry.encrypted) {
        flags |= 1;
        Orbisong::ZipCipher cipher(entry.password);
        QByteArray sealed;
        for (int i = 0; i < 11; ++i)
            sealed.append(char(cipher.encrypt(uint8_t(0x5A + i * 7))));
        const uint8_t check =
            entry.descriptor ? uint8_t(FixedTime >> 8) : uint8_t(writtenCrc >> 24);
        sealed.append(char(cipher.encrypt(check)));
        for (const char c : payload)
            sealed.append(char(cipher.encrypt(uint8_t(c))));
        payload = sealed;
    }
    if (entry.descriptor)
        flags |= 8;
    const quint32 size =
        entry.declaredSize >= 0 ? quint32(entry.declaredSize) : quint32(entry.data.size());
    const bool headerSizes = !entry.descriptor || entry.sizesInHeader;

    Written written{entry, quint32(m_local.size()), writtenCrc, quint32(payload.size())};
    put32(m_local, 0x04034b50);
    put16(m_local, 20);
    put16(m_local, flags);
    put16(m_local, quint16(entry.method));
    put16(m_local, FixedTime);
    put16(m_local, FixedDate);
    put32(m_local, headerSizes && !entry.descriptor ? writtenCrc : 0);
    put32(m_local, headerSizes ? quint32(payload.size()) : 0);
    put32(m_local, headerSizes ? size : 0);
    put16(m_local, quint16(entry.name.size()));
    put16(m_local, 4);
    m_local.append(entry.name);
    // An extra field the reader must skip.
    put16(m_local, 0xCAFE);
    put16(m_local, 0);
    m_local.append(payload);
    if (entry.descriptor) {
        if (entry.descriptorSignature)
            put32(m_local, 0x08074b50);
        put32(m_local, writtenCrc);
        put32(m_local, quint32(payload.size()));
        put32(m_local, size);
    }
    m_written.append(written);
}

QByteArray ZipFixture::bytes() const
{
    QByteArray out = m_local;
    const quint32 centralStart = quint32(out.size());
    for (const Written &w : m_written) {
        put32(out, 0x02014b50);
        put16(out, 20);
        put16(out, 20);
        put16(out, (w.entry.encrypted ? 1 : 0) | (w.entry.descriptor ? 8 : 0));
        put16(out, quint16(w.entry.method));
        put16(out, FixedTime);
        put16(out, FixedDate);
        put32(out, w.crc);
        put32(out, w.compressedSize);
        put32(out, w.entry.declaredSize >= 0 ? quint32(w.entry.declaredSize)
                                             : quint32(w.entry.data.size()));
        put16(out, quint16(w.entry.name.size()));
        put16(out, 0);
        put16(out, 0);
        put16(out, 0);
        put16(out, 0);
        put32(out, 0);
        put32(out, w.offset);
        out.append(w.entry.name);
    }
    const quint32 centralSize = quint32(out.size()) - centralStart;
    put32(out, 0x06054b50);
    put16(out, 0);
    put16(out, 0);
    put16(out, quint16(m_written.size()));
    put16(out, quint16(m_written.size()));
    put32(out, centralSize);
    put32(out, centralStart);
    put16(out, 0);
    return out;
}

bool ZipFixture::write(const QString &path) const
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes()) == bytes().size();
}

InstallDiskFixture::InstallDiskFixture(const QString &folder, const QString &setupProgram,
                                       const QString &recordFile)
    : m_folder(folder), m_setupProgram(setupProgram), m_recordFile(recordFile)
{
}

QString InstallDiskFixture::setupPath() const
{
    return m_folder + QStringLiteral("/setup");
}

QByteArray InstallDiskFixture::looseFileContent(const QString &name)
{
    QByteArray text = "This is " + name.toUtf8() + " of the Arcwell installation disk.\n";
    for (int i = 0; i < 40; ++i)
        text += "Line " + QByteArray::number(i) + " keeps LF endings.\n";
    return text;
}

QByteArray InstallDiskFixture::fakeProduct() const
{
    return "#!/bin/sh\n{ pwd; for a in \"$@\"; do echo \"$a\"; done; } > '" +
           QFile::encodeName(m_recordFile) + "'\n";
}

QList<FixtureEntry> InstallDiskFixture::goodEntries() const
{
    QByteArray big;
    for (int i = 0; i < 20000; ++i)
        big += "record " + QByteArray::number(i * 7919 % 10007) + "\n";
    const QByteArray password = Orbisong::ZipReader::builtInPassword();
    QList<FixtureEntry> entries;
    entries.append({"ARCWELL32.EX_", fakeProduct(), 8});
    entries.append({"STORED.TXT", "stored\r\nbytes stay as they are\n", 0});
    entries.append({"BIG.DAT", big, 8});
    entries.append({"SECRET.TXT", "sealed and stored", 0, true, password});
    entries.append({"SECRET2.DAT", big.left(5000), 8, true, password, true});
    entries.append({"docs/", {}, 0});
    entries.append({"docs/GUIDE.TXT", "guide text\n", 8, false, {}, true, false});
    entries.append({"docs\\sub\\NOTES.TXT", "notes\n", 0, false, {}, true, true, true});
    entries.append({"EMPTY.TXT", {}, 0});
    return entries;
}

bool InstallDiskFixture::build()
{
    return build(goodEntries());
}

bool InstallDiskFixture::build(const QList<FixtureEntry> &entries)
{
    QDir().mkpath(m_folder);
    QFile::remove(setupPath());
    if (m_setupProgram.isEmpty()) {
        QFile stand(setupPath());
        if (!stand.open(QIODevice::WriteOnly))
            return false;
        stand.write("stand-in for the setup program\n");
    } else if (!QFile::copy(m_setupProgram, setupPath())) {
        return false;
    }
    // A time well in the past, so the files written now cannot match it by accident.
    m_stamp = QDateTime::currentDateTime().addDays(-3);
    m_stamp = QDateTime::fromSecsSinceEpoch(m_stamp.toSecsSinceEpoch());
    {
        QFile program(setupPath());
        if (!program.open(QIODevice::ReadWrite) ||
            !program.setFileTime(m_stamp, QFileDevice::FileModificationTime))
            return false;
    }
    for (const QString &name : Orbisong::Installer::looseFiles()) {
        QFile file(m_folder + QLatin1Char('/') + name);
        if (!file.open(QIODevice::WriteOnly) || file.write(looseFileContent(name)) < 0 ||
            !file.flush() || !file.setFileTime(m_stamp, QFileDevice::FileModificationTime))
            return false;
    }
    ZipFixture zip;
    for (const FixtureEntry &entry : entries)
        zip.add(entry);
    return zip.write(m_folder + QStringLiteral("/setup.aw"));
}
