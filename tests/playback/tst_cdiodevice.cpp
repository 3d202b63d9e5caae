#include "CliRunner.h"
#include "collection/DiscId.h"
#include "playback/CdioDevice.h"
#include "playback/CdioDriveSet.h"
#include "playback/DemoDisc.h"
#include "playback/DiscImageWriter.h"
#include "playback/Ob4Ctrl.h"
#include "playback/Ob4Mci.h"
#include "playback/PlayerListener.h"
#include "ScriptedQuestionPort.h"
#include "TestHome.h"

#include <QDateTime>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QThread>

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

using namespace Orbisong;

namespace {

// A tone so that a wrong byte order or offset would show as a different checksum.
QByteArray tone(int frames, double hz)
{
    QByteArray pcm(frames * 2352, '\0');
    auto *samples = reinterpret_cast<qint16 *>(pcm.data());
    for (int i = 0; i < frames * 588; ++i) {
        samples[2 * i] = qint16(8000 * std::sin(2 * 3.14159265 * hz * i / 44100));
        samples[2 * i + 1] = qint16(-samples[2 * i]);
    }
    return pcm;
}

int waitForPosition(CdDevice &device, int atLeast, int timeoutMs)
{
    QElapsedTimer clock;
    clock.start();
    int position = -1;
    while (clock.elapsed() < timeoutMs) {
        device.position(&position);
        if (position >= atLeast)
            break;
        QThread::msleep(20);
    }
    return position;
}

class CdioImages : public ::testing::Test
{
protected:
    QString writeImage(DiscImageWriter &writer, const QString &name)
    {
        const QString cue = m_dir.filePath(name);
        QString error;
        EXPECT_TRUE(writer.write(cue, &error)) << error.toStdString();
        return cue;
    }

    QTemporaryDir m_dir;
};

} // namespace

TEST_F(CdioImages, TableOfContentsAndAlbumId)
{
    DiscImageWriter writer;
    writer.addAudioTrack(tone(300, 440));
    writer.addSilentTrack(5 * 75);
    writer.addAudioTrack(tone(120, 660));
    const QString cue = writeImage(writer, QStringLiteral("three.cue"));

    CdioDevice device(cue, QStringLiteral("fakesink sync=false"));
    ASSERT_TRUE(device.isOpen());
    bool present = false;
    ASSERT_EQ(device.mediaPresent(&present), 0);
    EXPECT_TRUE(present);
    int count = 0;
    ASSERT_EQ(device.trackCount(&count), 0);
    ASSERT_EQ(count, 3);
    const QList<int> expected{150, 450, 825};
    for (int t = 1; t <= 3; ++t) {
        int start = 0, type = 0;
        device.trackStart(t, &start);
        device.trackType(t, &type);
        EXPECT_EQ(start, expected.at(t - 1));
        EXPECT_EQ(type, CdDevice::TrackAudio);
    }
    int leadOut = 0, length = 0;
    device.trackStart(4, &leadOut);
    device.trackLength(3, &length);
    EXPECT_EQ(leadOut, 945);
    EXPECT_EQ(length, 120);
    // The lead-out has a start but no length; nothing lies before track 1.
    EXPECT_EQ(device.trackStart(0, &leadOut), CdDevice::ErrorOutOfRange);
    EXPECT_EQ(device.trackStart(5, &leadOut), CdDevice::ErrorOutOfRange);
    EXPECT_EQ(device.trackLength(4, &length), CdDevice::ErrorOutOfRange);
    EXPECT_EQ(leadOut, 945);
    QString identity;
    device.mediaIdentity(&identity);
    EXPECT_EQ(identity, QString::number(CddbDiscId(expected, 945)));
    EXPECT_EQ(device.volumeLabel(), QStringLiteral("Audio CD"));

    // The extracted audio is the audio that went in, sample for sample.
    QByteArray read(2 * 2352, '\0');
    ASSERT_EQ(device.readAudio(825 + 10, read.data(), 2), 2);
    EXPECT_EQ(read, tone(120, 660).mid(10 * 2352, 2 * 2352));
}

TEST_F(CdioImages, AnImageShorterThanItsSheetIsRefused)
{
    DiscImageWriter writer;
    writer.addAudioTrack(tone(300, 440));
    writer.addAudioTrack(tone(300, 660));
    const QString cue = writeImage(writer, QStringLiteral("short.cue"));
    const QString bin = m_dir.filePath(QStringLiteral("short.bin"));
    ASSERT_TRUE(QFileInfo::exists(bin));
    // Cut inside track 1: track 2 starts past the end of the data.
    QFile::resize(bin, 100 * 2352);
    CdioDevice device(cue, QStringLiteral("fakesink sync=false"));
    QString error;
    EXPECT_FALSE(device.isOpen(&error));
    EXPECT_EQ(device.openErrorCode(), CdDevice::ErrorImageTruncated);
    EXPECT_TRUE(error.contains(QStringLiteral("shorter than its sheet"))) << qPrintable(error);
    EXPECT_TRUE(error.contains(QStringLiteral("track 2"))) << qPrintable(error);

    CdioDriveSet drives({cue}, QStringLiteral("fakesink sync=false"));
    int code = 0;
    QString text;
    EXPECT_EQ(drives.open(drives.letters().back(), &code, &text), nullptr);
    EXPECT_EQ(code, CdDevice::ErrorImageTruncated);
    EXPECT_EQ(text, error);

    // Cut inside the last track: it still has data, so the image opens.
    QFile::resize(bin, 450 * 2352);
    CdioDevice shortened(cue, QStringLiteral("fakesink sync=false"));
    EXPECT_TRUE(shortened.isOpen());
    EXPECT_EQ(shortened.openErrorCode(), CdDevice::NoError);
}

TEST_F(CdioImages, CdrdaoImagesHoldBigEndianAudio)
{
    QByteArray bigEndian = tone(300, 440);
    for (qsizetype i = 0; i < bigEndian.size(); i += 2)
        std::swap(bigEndian[i], bigEndian[i + 1]);
    QFile bin(m_dir.filePath(QStringLiteral("be.bin")));
    ASSERT_TRUE(bin.open(QIODevice::WriteOnly));
    bin.write(bigEndian);
    bin.close();
    QFile toc(m_dir.filePath(QStringLiteral("be.toc")));
    ASSERT_TRUE(toc.open(QIODevice::WriteOnly));
    toc.write("CD_DA\n\nTRACK AUDIO\nFILE \"be.bin\" 0 00:04:00\n");
    toc.close();

    CdioDevice device(toc.fileName(), QStringLiteral("fakesink sync=false"));
    ASSERT_TRUE(device.isOpen());
    int leadOut = 0;
    device.trackStart(2, &leadOut);
    EXPECT_EQ(leadOut, 450);
    QByteArray read(2352, '\0');
    ASSERT_EQ(device.readAudio(160, read.data(), 1), 1);
    EXPECT_EQ(read, tone(300, 440).mid(10 * 2352, 2352));
}

TEST_F(CdioImages, DataTrackMakesACdRom)
{
    DiscImageWriter writer;
    writer.addDataTrack(600);
    writer.addAudioTrack(tone(150, 330));
    const QString cue = writeImage(writer, QStringLiteral("mixed.cue"));

    CdioDriveSet drives({cue}, QStringLiteral("fakesink sync=false"));
    ASSERT_EQ(drives.letters(), QStringLiteral("D"));
    PlaybackContext context;
    const PlaybackScope scope(context);
    context.drives = &drives;
    ScriptedQuestionPort questions;
    context.questions = &questions;
    context.state.driveList = drives.letters();
    ASSERT_EQ(OB4MCI_Open(QLatin1Char('D')), 0);
    EXPECT_EQ(OB4MCI_Poll(), 2);
    EXPECT_TRUE(context.state.discIgnored);
    EXPECT_EQ(context.current.disc.mediaKind, DiscKindCdRom);
    EXPECT_EQ(context.current.disc.trackCount, 2);
    EXPECT_TRUE(questions.asked().isEmpty());
    // The data track is never played as audio.
    CdioDevice device(cue, QStringLiteral("fakesink sync=false"));
    EXPECT_EQ(device.play(150), CdDevice::ErrorUnsupportedFunction);
    EXPECT_EQ(device.play(750), 0);
    OB4MCI_Shutdown();
}

TEST_F(CdioImages, PlayStopAndPositionOnASilentOutput)
{
    DiscImageWriter writer;
    writer.addAudioTrack(tone(75, 440));
    writer.addAudioTrack(tone(150, 550));
    const QString cue = writeImage(writer, QStringLiteral("short.cue"));

    CdioDevice device(cue, QStringLiteral("fakesink sync=true"));
    int mode = 0;
    device.mode(&mode);
    EXPECT_EQ(mode, CdDevice::ModeStop);
    ASSERT_EQ(device.play(225), 0);
    device.mode(&mode);
    EXPECT_EQ(mode, CdDevice::ModePlay);
    // The position moves on as the output plays, never ahead of it: a sink that keeps time
    // cannot have played more than the time since the play command, whatever the load, so the
    // frames that were merely read ahead never show.
    QElapsedTimer sincePlay;
    sincePlay.start();
    int position = 225;
    QList<int> seen;
    while (position < 225 + 30 && sincePlay.elapsed() < 30000) {
        QThread::msleep(20);
        device.position(&position);
        EXPECT_LE(position, 225 + 10 + sincePlay.elapsed() * 75 / 1000);
        seen.append(position);
    }
    EXPECT_GE(position, 225 + 30);
    EXPECT_TRUE(std::is_sorted(seen.cbegin(), seen.cend()));
    ASSERT_EQ(device.stop(), 0);
    device.mode(&mode);
    EXPECT_EQ(mode, CdDevice::ModeStop);
    int stoppedAt = 0;
    device.position(&stoppedAt);
    EXPECT_GE(stoppedAt, position);
    EXPECT_LE(stoppedAt, 225 + 10 + sincePlay.elapsed() * 75 / 1000);
    QThread::msleep(100);
    int later = 0;
    device.position(&later);
    EXPECT_EQ(later, stoppedAt) << "a stopped drive stays where it stopped";

    // Played to the end of the disc, the drive stops by itself at the lead-out.
    ASSERT_EQ(device.play(375 - 20), 0);
    EXPECT_EQ(waitForPosition(device, 375, 30000), 375);
    device.mode(&mode);
    EXPECT_EQ(mode, CdDevice::ModeStop);

    // The door of an image drive takes the disc out and puts it back.
    bool present = true;
    device.openDoor();
    device.mediaPresent(&present);
    EXPECT_FALSE(present);
    device.mode(&mode);
    EXPECT_EQ(mode, CdDevice::ModeOpen);
    device.closeDoor();
    device.mediaPresent(&present);
    EXPECT_TRUE(present);
}

TEST_F(CdioImages, CliTocAndDiscIdAgree)
{
    TestHome home;
    DiscImageWriter mixed;
    mixed.addAudioTrack(tone(200, 440));
    mixed.addAudioTrack(tone(80, 550));
    mixed.addDataTrack(300);
    const QString mixedCue = writeImage(mixed, QStringLiteral("mixed.cue"));
    QString error;
    ASSERT_TRUE(DemoDisc::write(m_dir.filePath(QStringLiteral("demo")), &error));
    const QString demoCue = DemoDisc::cuePath(m_dir.filePath(QStringLiteral("demo")));
    {
        // The demo disc: 4 to 6 tracks of 20 to 45 seconds, and its entry for the local CDDB.
        CdioDevice demo(demoCue);
        int count = 0;
        demo.trackCount(&count);
        EXPECT_GE(count, 4);
        EXPECT_LE(count, 6);
        QList<int> starts;
        for (int t = 1; t <= count; ++t) {
            int start = 0, length = 0;
            demo.trackStart(t, &start);
            demo.trackLength(t, &length);
            starts.append(start);
            EXPECT_GE(length, 20 * 75);
            EXPECT_LE(length, 45 * 75);
        }
        int leadOut = 0;
        demo.trackStart(count + 1, &leadOut);
        const QString discId = CddbDiscIdText(CddbDiscId(starts, leadOut));
        QFile entry(DemoDisc::cddbFolder(m_dir.filePath(QStringLiteral("demo"))) + "/misc/" +
                    discId);
        ASSERT_TRUE(entry.open(QIODevice::ReadOnly));
        const QString text = QString::fromUtf8(entry.readAll());
        EXPECT_TRUE(text.contains(QStringLiteral("\nDISCID=") + discId + QLatin1Char('\n')));
        EXPECT_TRUE(text.contains(QStringLiteral("DTITLE=") + DemoDisc::artist()));
        EXPECT_TRUE(text.contains(QStringLiteral("TTITLE%1=").arg(count - 1)));
        EXPECT_TRUE(text.endsWith(QLatin1String("PLAYORDER=\n")));
        // Once there, the image is not made again.
        const QDateTime written = QFileInfo(demoCue).lastModified();
        EXPECT_EQ(ensureDemoDisc(m_dir.filePath(QStringLiteral("demo"))), demoCue);
        EXPECT_EQ(QFileInfo(demoCue).lastModified(), written);
    }

    for (const QString &cue : {mixedCue, demoCue}) {
        const CliResult toc = runCli(home.path(), {QStringLiteral("toc"), cue});
        ASSERT_EQ(toc.exitCode, 0) << toc.err.toStdString();
        const QStringList lines = toc.out.split(QLatin1Char('\n'), Qt::SkipEmptyParts);
        QStringList arguments{QStringLiteral("discid")};
        QString leadOut;
        for (const QString &line : lines) {
            const QStringList words = line.split(QLatin1Char(' '));
            if (words.first() == QLatin1String("track"))
                arguments.append(words.at(3));
            if (words.first() == QLatin1String("leadout"))
                leadOut = words.at(1);
        }
        arguments << QStringLiteral("--leadout") << leadOut;
        const CliResult id = runCli(home.path(), arguments);
        ASSERT_EQ(id.exitCode, 0) << id.err.toStdString();
        EXPECT_EQ(QStringLiteral("id ") + id.out, lines.last() + QLatin1Char('\n'));
    }
    const CliResult mixedToc = runCli(home.path(), {QStringLiteral("toc"), mixedCue});
    EXPECT_EQ(
        mixedToc.out,
        QStringLiteral("track 1 start 150 length 200 audio\ntrack 2 start 350 length 80 audio\n"
                       "track 3 start 430 length 300 data\nleadout 730\nidentity ") +
            MediaIdentity({150, 350, 430}, 730) + QStringLiteral("\nid ") +
            AlbumId({150, 350, 430}, 730) + QLatin1Char(' ') +
            CddbDiscIdText(CddbDiscId({150, 350, 430}, 730)) + QLatin1Char('\n'));
    const CliResult example = runCli(
        home.path(), {QStringLiteral("discid"), QStringLiteral("--leadout"),
                      QStringLiteral("30000"), QStringLiteral("150"), QStringLiteral("15000")});
    EXPECT_EQ(example.out, QStringLiteral("04018E0203A98 04018e02\n"));
    EXPECT_EQ(runCli(home.path(), {QStringLiteral("discid"), QStringLiteral("x")}).exitCode, 2);
    // Tables that cannot be a disc's give no ID.
    for (const QStringList &toc :
         {QStringList{QStringLiteral("100"), QStringLiteral("-5")},
          QStringList{QStringLiteral("2147483647"), QStringLiteral("150")},
          QStringList{QStringLiteral("30000"), QStringLiteral("15000"), QStringLiteral("150")}}) {
        const CliResult bad = runCli(
            home.path(), QStringList{QStringLiteral("discid"), QStringLiteral("--leadout")} + toc);
        EXPECT_EQ(bad.exitCode, 2);
        EXPECT_TRUE(bad.out.isEmpty()) << bad.out.toStdString();
        EXPECT_TRUE(bad.err.startsWith(QStringLiteral("not a table of contents: ")));
    }
    EXPECT_EQ(
        runCli(home.path(), {QStringLiteral("toc"), m_dir.filePath(QStringLiteral("none.cue"))})
            .exitCode,
        2);
}

TEST_F(CdioImages, CliPlaysForTheSecondsAsked)
{
    TestHome home;
    DiscImageWriter writer;
    writer.addAudioTrack(tone(75 * 5, 440));
    writer.addAudioTrack(tone(75 * 5, 550));
    const QString cue = writeImage(writer, QStringLiteral("play.cue"));
    qputenv("ORBISONG_AUDIO_SINK", "fakesink sync=true");
    const CliResult result = runCli(
        home.path(), {QStringLiteral("play"), cue, QStringLiteral("--track"), QStringLiteral("2"),
                      QStringLiteral("--seconds"), QStringLiteral("2.2")});
    qunsetenv("ORBISONG_AUDIO_SINK");
    ASSERT_EQ(result.exitCode, 0) << result.err.toStdString();
    const QStringList lines = result.out.split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    ASSERT_GE(lines.size(), 2);
    EXPECT_EQ(lines.first(), QStringLiteral("track 2 00:00"));
    EXPECT_TRUE(lines.last().startsWith(QLatin1String("track 2 00:0")));
    EXPECT_EQ(runCli(home.path(),
                     {QStringLiteral("play"), cue, QStringLiteral("--track"), QStringLiteral("9")})
                  .exitCode,
              1);
}

namespace {

struct AlbumWindow : PlayerListener
{
    void discInserted() override
    {
        OB4CTRL_BuildAlbumPlaylist();
        SetCurrentPlaylist(QStringLiteral("Album"));
    }
    void itemPlay(const TStep &step) override { itemPlays.append(step.start); }
    void playAnimation(bool running) override { starts += running ? 1 : 0; }
    QList<int> itemPlays;
    int starts = 0;
};

} // namespace

TEST_F(CdioImages, DriveTimerPlaysAnImageThroughItsTracks)
{
    DiscImageWriter writer;
    writer.addAudioTrack(tone(60, 440));
    writer.addAudioTrack(tone(60, 550));
    const QString cue = writeImage(writer, QStringLiteral("timer.cue"));
    CdioDriveSet drives({cue}, QStringLiteral("fakesink sync=true"));
    AlbumWindow window;
    PlaybackContext context;
    const PlaybackScope scope(context);
    context.drives = &drives;
    context.listener = &window;
    OB4MCI_Startup();
    ASSERT_EQ(OB4MCI_Poll(), 1);
    OB4CTRL_PlayStep(0);
    ASSERT_TRUE(context.state.playing);
    QElapsedTimer clock;
    clock.start();
    while (context.state.playing && clock.elapsed() < 5000) {
        QThread::msleep(50);
        OB4MCI_Poll();
    }
    // One play command: the second track followed without a gap, then the disc ended.
    EXPECT_EQ(window.itemPlays, (QList<int>{150, 210}));
    EXPECT_EQ(window.starts, 1);
    EXPECT_FALSE(context.state.playing);
    EXPECT_EQ(context.state.currentStepIndex, 0);
    EXPECT_EQ(context.current.album.trackPlayCounts[1], 1);
    EXPECT_EQ(context.current.album.trackPlayCounts[2], 1);
    OB4MCI_Shutdown();
}
