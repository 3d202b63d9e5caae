#include "collection/DiscId.h"
#include "playback/Msf.h"
#include "playback/Ob4Mci.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace Orbisong;

TEST(DiscId, WorkedExampleAndTextForms)
{
    EXPECT_EQ(CddbDiscId({150, 15000}, 30000), 0x04018E02u);
    EXPECT_EQ(CddbDiscIdText(0x04018E02u), QStringLiteral("04018e02"));
    EXPECT_EQ(AlbumId({150, 15000}, 30000), QStringLiteral("04018E0203A98"));
    EXPECT_EQ(AlbumId({}, 0), QString());
}

TEST(DiscId, TrackCountAndChecksumWrap)
{
    QList<int> starts;
    for (int i = 0; i < 99; ++i)
        starts.append(150 + i * 4500);
    EXPECT_TRUE(AlbumId(starts, starts.last() + 4500).mid(6, 2) == QStringLiteral("63"));

    // Track starting at second 99999 has digit sum 45; build sums of 255 and 256 exactly.
    auto checksumByte = [](const QList<int> &seconds) {
        QList<int> frames;
        for (int s : seconds)
            frames.append(s * 75);
        return CddbDiscId(frames, frames.last() + 75) >> 24;
    };
    QList<int> sum255(28, 9); // 28 tracks at 9 s: digit sum 252
    sum255.append(3);         // + 3 = 255
    std::sort(sum255.begin(), sum255.end());
    EXPECT_EQ(checksumByte(sum255), 0u);
    QList<int> sum256(28, 9);
    sum256.append(4);
    std::sort(sum256.begin(), sum256.end());
    EXPECT_EQ(checksumByte(sum256), 1u);
}

TEST(DiscId, TablesOfContentsAreChecked)
{
    const QList<int> ok{150, 15000};
    EXPECT_TRUE(IsValidToc(ok, 30000));
    EXPECT_TRUE(IsValidToc({0}, MaxTocFrame));
    const struct
    {
        QList<int> starts;
        qint64 leadOut;
        const char *problem;
    } bad[] = {
        {{}, 100, "no tracks"},
        {{-5}, 100, "track 1 starts at frame -5, outside 0-449999"},
        {{150, 450000}, 450001, "track 2 starts at frame 450000, outside 0-449999"},
        {{15000, 150}, 30000, "track 2 does not start after track 1"},
        {{150, 150}, 30000, "track 2 does not start after track 1"},
        {ok, 15000, "the lead-out 15000 is not after the last track"},
        {ok, 2147483647, "the lead-out 2147483647 is beyond frame 449999"},
        {QList<int>(100, 0), 30000, "100 tracks, more than 99"},
    };
    for (const auto &b : bad) {
        EXPECT_EQ(TocProblem(b.starts, b.leadOut), QString::fromLatin1(b.problem));
        EXPECT_EQ(AlbumId(b.starts, int(std::min<qint64>(b.leadOut, 2147483647))), QString())
            << b.problem;
    }
    // The ids of any table are computed without overflow, and album IDs are 13 digits.
    EXPECT_EQ(CddbDiscId({150, 2147483647}, 2147483647) & 0xFFu, 2u);
    EXPECT_EQ(CddbDiscId({-2147483647 - 1}, 2147483647) & 0xFFu, 1u);
    EXPECT_TRUE(IsAlbumIdText(QStringLiteral("04018e0203A98")));
    EXPECT_FALSE(IsAlbumIdText(QStringLiteral("04018E027FFFFFFF")));
}

TEST(DiscId, MsfRoundTrip)
{
    const int frames = 4500 * 3 + 75 * 20 + 7;
    const std::uint32_t msf = FramesToMSF(frames);
    EXPECT_EQ(msf & 0xFF, 3u);
    EXPECT_EQ((msf >> 8) & 0xFF, 20u);
    EXPECT_EQ((msf >> 16) & 0xFF, 7u);
    EXPECT_EQ(MSFToFrames(msf), frames);
}

TEST(DiscId, CdAudioTrackFiles)
{
    QTemporaryDir dir;
    auto write = [&](const QString &name, const QByteArray &bytes) {
        QFile file(dir.filePath(name));
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
        return file.fileName();
    };
    QByteArray cda(44, '\0');
    cda.replace(0, 4, "riff");
    cda.replace(8, 7, "cddafmt");
    cda[22] = 7;
    const quint32 serial = 0x1234ABCDu;
    for (int i = 0; i < 4; ++i)
        cda[24 + i] = char((serial >> (8 * i)) & 0xFF);
    const QString track = write(QStringLiteral("Track07.cda"), cda);
    EXPECT_EQ(OB4MCI_GetTrackFromFile(track, QString()), 7);
    EXPECT_EQ(OB4MCI_GetTrackFromFile(track, QStringLiteral("0")), 7);
    EXPECT_EQ(OB4MCI_GetTrackFromFile(track, QStringLiteral("1234ABCD")), 7);
    EXPECT_EQ(OB4MCI_GetTrackFromFile(track, QStringLiteral("1234ABCE")), 0);
    EXPECT_EQ(OB4MCI_GetTrackFromFile(write(QStringLiteral("short.cda"), cda.left(27)), {}), 0);
    QByteArray wave = cda;
    wave.replace(8, 7, "WAVEfmt");
    EXPECT_EQ(OB4MCI_GetTrackFromFile(write(QStringLiteral("wave.cda"), wave), {}), 0);
    EXPECT_EQ(OB4MCI_GetTrackFromFile(dir.filePath(QStringLiteral("missing.cda")), {}), 0);
}
