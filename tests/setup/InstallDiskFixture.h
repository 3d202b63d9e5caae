#pragma once

#include <QByteArray>
#include <QDateTime>
#include <QList>
#include <QString>

// Builds ZIP archives byte by byte, so a test decides exactly how each entry is stored,
// including the malformed and hostile forms an installer must refuse.
struct FixtureEntry
{
    FixtureEntry(QByteArray entryName, QByteArray entryData = {}, int entryMethod = 8,
                 bool isEncrypted = false, QByteArray entryPassword = {},
                 bool withDescriptor = false, bool withDescriptorSignature = true,
                 bool withSizesInHeader = false)
        : name(std::move(entryName)), data(std::move(entryData)), method(entryMethod),
          encrypted(isEncrypted), password(std::move(entryPassword)), descriptor(withDescriptor),
          descriptorSignature(withDescriptorSignature), sizesInHeader(withSizesInHeader)
    {
    }

    QByteArray name;
    QByteArray data;
    // 0 stored, 8 deflated; any other number is written as given over stored bytes.
    int method = 8;
    bool encrypted = false;
    QByteArray password;
    // Flag bit 3: CRC and sizes follow the data; the header's are zero unless
    // `sizesInHeader`.
    bool descriptor = false;
    bool descriptorSignature = true;
    bool sizesInHeader = false;
    // The CRC written is off by one.
    bool badCrc = false;
    // The uncompressed size written, when not the data's own.
    qint64 declaredSize = -1;
};

class ZipFixture
{
public:
    void add(const FixtureEntry &entry);
    QByteArray bytes() const;
    bool write(const QString &path) const;

    static quint32 crc(const QByteArray &data);
    static QByteArray deflateRaw(const QByteArray &data);

private:
    struct Written
    {
        FixtureEntry entry;
        quint32 offset;
        quint32 crc;
        quint32 compressedSize;
    };
    QByteArray m_local;
    QList<Written> m_written;
};

// An installation disk in a folder: the setup program, the loose files stamped with its
// time, and "setup.aw" holding the product, whose main program is a shell script that
// records its arguments and working folder.
class InstallDiskFixture
{
public:
    // `folder` receives the disk; `setupProgram` is copied into it (an empty name writes a
    // stand-in file instead); `recordFile` is where the fake product writes.
    InstallDiskFixture(const QString &folder, const QString &setupProgram,
                       const QString &recordFile);

    QString folder() const { return m_folder; }
    QString setupPath() const;
    QDateTime stamp() const { return m_stamp; }

    static QByteArray looseFileContent(const QString &name);
    // The entries of a good archive: stored, deflated, encrypted with the built-in
    // password, with both descriptor forms, in sub-folders, an empty file and a folder.
    QList<FixtureEntry> goodEntries() const;
    QByteArray fakeProduct() const;

    // Writes everything; `entries` replace the good archive when given.
    bool build();
    bool build(const QList<FixtureEntry> &entries);

private:
    QString m_folder;
    QString m_setupProgram;
    QString m_recordFile;
    QDateTime m_stamp;
};
