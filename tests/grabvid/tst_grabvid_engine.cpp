#include "CaptureFileOps.h"
#include "CaptureMath.h"
#include "GrabvidSettings.h"
#include "PictureSequence.h"
#include "TestFiles.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace Orbisong;

namespace {

} // namespace

TEST(grabvidCaptureMath, FrameRateAndPeriodRoundTrip)
{
    EXPECT_EQ(periodFromFps(15), 66667);
    EXPECT_EQ(fpsFromPeriod(66667), 15);
    for (int fps = 1; fps <= 60; ++fps)
        EXPECT_EQ(fpsFromPeriod(periodFromFps(fps)), fps) << fps;
    // A zero rate or period must not divide by zero; it counts as the slowest rate.
    EXPECT_EQ(periodFromFps(0), 1000000);
    EXPECT_EQ(fpsFromPeriod(0), 1000);
    EXPECT_EQ(fpsFromPeriod(-5), 1000);
    EXPECT_EQ(fpsFromPeriod(5000000), 1);
}

TEST(grabvidCaptureMath, WaveFormatFigures)
{
    const WaveFormat stereo = makeWaveFormat(16, 22050, 2);
    EXPECT_EQ(stereo.blockAlign, 4);
    EXPECT_EQ(stereo.avgBytesPerSec, 88200);
    EXPECT_TRUE(isValidWaveFormat(stereo));
    const WaveFormat mono = makeWaveFormat(8, samplesPerSecForChoice(0), 1);
    EXPECT_EQ(mono.blockAlign, 1);
    EXPECT_EQ(mono.avgBytesPerSec, 11025);
    EXPECT_FALSE(isValidWaveFormat(makeWaveFormat(12, 22050, 2)));
    EXPECT_EQ(samplesPerSecForChoice(2), 44100);
    EXPECT_EQ(choiceForSamplesPerSec(22050), 1);
}

TEST(grabvidCaptureMath, MegabytesDoNotWrapAt32Bits)
{
    EXPECT_EQ(megabytesToBytes(5000), qint64(5000) * 1024 * 1024);
    EXPECT_EQ(bytesToMegabytes(qint64(300) << 30), qint64(300) << 10);
    EXPECT_EQ(bytesToMegabytes(-1), -1);
}

TEST(grabvidSettingsFile, WritesLabelsAndValuesInOrderWithCrLf)
{
    GrabvidSettings settings;
    settings.fps = 15;
    settings.captureAudio = true;
    settings.bitsPerSample = 16;
    settings.samplesPerSec = 22050;
    settings.channels = 2;
    settings.captureFile = QStringLiteral("/tmp/cap.avi");
    settings.pictureBase = QStringLiteral("/tmp/shot");
    settings.pictureCounter = 7;
    const QByteArray expected = "[FPS]\r\n15\r\n[AUDIO]\r\nY\r\n[BITS]\r\n16\r\n[FREQ]\r\n22050\r\n"
                                "[CHANNELS]\r\n2\r\n[CAP FILE]\r\n/tmp/cap.avi\r\n"
                                "[PIC FILE]\r\n/tmp/shot\r\n7\r\n";
    EXPECT_EQ(settings.serialize(), expected);
    const auto parsed = GrabvidSettings::parse(expected);
    ASSERT_TRUE(parsed.has_value());
    EXPECT_EQ(parsed->serialize(), expected);
    // Files written by hand with bare line feeds read the same.
    QByteArray unix = expected;
    unix.replace("\r\n", "\n");
    ASSERT_TRUE(GrabvidSettings::parse(unix).has_value());
    EXPECT_EQ(GrabvidSettings::parse(unix)->serialize(), expected);
}

TEST(grabvidSettingsFile, ShortOrGarbledFilesFallBackToDefaults)
{
    const QByteArray good = GrabvidSettings::defaults(QStringLiteral("/tmp")).serialize();
    EXPECT_TRUE(GrabvidSettings::parse(good).has_value());
    EXPECT_FALSE(GrabvidSettings::parse(good.left(good.size() / 2)).has_value());
    EXPECT_FALSE(GrabvidSettings::parse(QByteArray()).has_value());
    QByteArray zeroRate = good;
    zeroRate.replace("[FPS]\r\n15", "[FPS]\r\n0");
    EXPECT_FALSE(GrabvidSettings::parse(zeroRate).has_value());
    QByteArray badAudio = good;
    badAudio.replace("[AUDIO]\r\nY", "[AUDIO]\r\nmaybe");
    EXPECT_FALSE(GrabvidSettings::parse(badAudio).has_value());
    QByteArray swapped = good;
    swapped.replace("[BITS]", "[FREQ]");
    EXPECT_FALSE(GrabvidSettings::parse(swapped).has_value());

    QTemporaryDir dir;
    const QString path = dir.filePath(GrabvidSettings::fileName());
    GrabvidSettings fallback = GrabvidSettings::defaults(dir.path());
    fallback.fps = 12;
    writeFile(path, good.left(20));
    EXPECT_EQ(GrabvidSettings::load(path, fallback).serialize(), fallback.serialize());
    EXPECT_EQ(GrabvidSettings::load(dir.filePath("missing.ini"), fallback).fps, 12);
}

TEST(grabvidSettingsFile, SaveReplacesTheFileWholeAndReadsLegacyText)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(GrabvidSettings::fileName());
    GrabvidSettings settings = GrabvidSettings::defaults(dir.path());
    settings.pictureBase = QStringLiteral("/tmp/Bilder/Schnappschuß");
    ASSERT_TRUE(settings.save(path));
    EXPECT_EQ(readFile(path), settings.serialize());
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList{GrabvidSettings::fileName()});

    // A file from the old program holds Windows-1252 bytes.
    QByteArray legacy = settings.serialize();
    legacy.replace(settings.pictureBase.toUtf8(), QByteArray("C:\\Bilder\\Caf\xe9 \x80"));
    const auto parsed = GrabvidSettings::parse(legacy);
    ASSERT_TRUE(parsed.has_value());
    EXPECT_EQ(parsed->pictureBase, QStringLiteral("C:\\Bilder\\Café €"));
}

TEST(grabvidPictureSequence, NumbersPicturesWithoutOverwriting)
{
    QTemporaryDir dir;
    PictureSequence pictures;
    pictures.choose(dir.filePath("shot.bmp"));
    EXPECT_EQ(pictures.base(), dir.filePath("shot"));
    EXPECT_EQ(pictures.next(), dir.filePath("shot_1.bmp"));
    writeFile(dir.filePath("shot_1.bmp"), "x");
    EXPECT_EQ(pictures.next(), dir.filePath("shot_2.bmp"));
    writeFile(dir.filePath("shot_2.bmp"), "x");

    // Choosing the same name again must not overwrite shot_1 and shot_2.
    pictures.choose(dir.filePath("shot.bmp"));
    EXPECT_EQ(pictures.next(), dir.filePath("shot_3.bmp"));

    // A name without extension is taken whole.
    pictures.choose(dir.filePath("still"));
    EXPECT_EQ(pictures.next(), dir.filePath("still_1.bmp"));
}

TEST(grabvidCaptureFile, AllocatesCopiesAndMeasures)
{
    QTemporaryDir dir;
    const QString capture = dir.filePath("capture.avi");
    ASSERT_TRUE(allocateCaptureFile(capture, megabytesToBytes(3)));
    EXPECT_EQ(QFileInfo(capture).size(), qint64(3) << 20);
    EXPECT_EQ(captureFileSize(capture), qint64(3) << 20);
    EXPECT_GT(freeSpaceFor(capture), 0);
    // A file in a folder that does not exist yet is measured on the disk that would hold it.
    EXPECT_GT(freeSpaceFor(dir.filePath("new/folder/capture.avi")), 0);

    const QString copy = dir.filePath("kept.avi");
    ASSERT_TRUE(copyCaptureFile(capture, copy));
    EXPECT_EQ(readFile(copy), readFile(capture));
    EXPECT_TRUE(copyCaptureFile(capture, capture));
    EXPECT_FALSE(copyCaptureFile(dir.filePath("missing.avi"), copy));
    EXPECT_EQ(QFileInfo(copy).size(), qint64(3) << 20);
    EXPECT_FALSE(allocateCaptureFile(dir.filePath("no/such/folder/capture.avi"), 1024));
}
