#include "CaptureSession.h"
#include "GrabvidSettings.h"
#include "MediaPlayer.h"
#include "PreviewWidget.h"
#include "RiffReader.h"
#include "TAllocateDialog.h"
#include "TestFiles.h"
#include "TestHome.h"
#include "TGrabvidFrame.h"
#include "TMediaWindow.h"

#include <QAction>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QImage>
#include <QLabel>
#include <QMenuBar>
#include <QSignalSpy>
#include <QStatusBar>
#include <QStorageInfo>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

using namespace Orbisong;

namespace {

class RecordingMessagePort : public MessagePort
{
public:
    struct Shown
    {
        Icon icon;
        QString title;
        QString text;
    };

    void show(Icon icon, const QString &title, const QString &text) override
    {
        shown.append({icon, title, text});
    }

    QList<Shown> shown;
};

// A frame on the test source, working in a folder of its own, its boxes recorded.
struct FrameFixture
{
    explicit FrameFixture(bool withTestSource = true) : frame({dir.path(), withTestSource})
    {
        frame.setMessagePort(&messages);
        frame.startUp();
    }

    QTemporaryDir dir;
    RecordingMessagePort messages;
    TGrabvidFrame frame;
};

} // namespace

TEST(grabvidFrame, CapturesTwoSecondsWithStereoAudioAndPlaysItBack)
{
    FrameFixture f;
    ASSERT_TRUE(f.frame.session().isConnected());
    CaptureChoice choice;
    choice.fps = 15;
    choice.captureAudio = true;
    choice.bitsPerSample = 16;
    choice.samplesPerSec = 22050;
    choice.channels = 2;
    ASSERT_TRUE(f.frame.applyCaptureChoice(choice));
    const QString file = f.dir.filePath("capture.avi");
    ASSERT_TRUE(f.frame.setCaptureFile(file));

    // The capture is ended by count: once two seconds' worth of frames are written.
    const qint64 wanted = 2 * choice.fps;
    QString titleWhileCapturing;
    qint64 writtenAtStop = -1;
    QElapsedTimer bound;
    bound.start();
    QTimer watch;
    watch.setInterval(20);
    QObject::connect(&watch, &QTimer::timeout, &f.frame, [&] {
        CaptureStatus status;
        f.frame.session().getStatus(status);
        if (status.currentVideoFrame < wanted && bound.elapsed() < 60000)
            return;
        watch.stop();
        writtenAtStop = status.currentVideoFrame;
        titleWhileCapturing = f.frame.windowTitle();
        QTest::keyClick(&f.frame, Qt::Key_Escape);
    });
    watch.start();
    ASSERT_TRUE(f.frame.captureVideo());
    EXPECT_GE(writtenAtStop, wanted);
    EXPECT_EQ(titleWhileCapturing, QStringLiteral("Grabvid - Hit ESCAPE or click to end capture"));
    EXPECT_EQ(f.frame.windowTitle(), QStringLiteral("Grabvid"));
    EXPECT_TRUE(f.messages.shown.isEmpty());

    const AviHeaders headers = readAviHeaders(readFile(file));
    ASSERT_TRUE(headers.valid);
    EXPECT_EQ(headers.microSecPerFrame, 66667u);
    EXPECT_EQ(headers.width, 320u);
    EXPECT_EQ(headers.height, 240u);
    // Every frame counted while capturing is in the file.
    EXPECT_GE(qint64(headers.totalFrames), writtenAtStop);
    ASSERT_TRUE(headers.hasAudio);
    EXPECT_EQ(headers.channels, 2);
    EXPECT_EQ(headers.samplesPerSec, 22050u);
    EXPECT_EQ(headers.blockAlign, 4);
    EXPECT_EQ(headers.avgBytesPerSec, 88200u);
    EXPECT_EQ(headers.bitsPerSample, 16);

    MediaPlayer player;
    QSignalSpy finished(&player, &MediaPlayer::finished);
    ASSERT_TRUE(player.open(file, QStringLiteral("fakesink")));
    ASSERT_TRUE(player.play());
    ASSERT_TRUE(finished.wait(60000));
    EXPECT_GE(player.framesShown(), qint64(headers.totalFrames) - 2);
    // The file lasts at least as long as its frames at the chosen rate.
    EXPECT_GE(player.durationMs(), (qint64(headers.totalFrames) - 1) * 66667 / 1000)
        << player.durationMs() << " ms for " << headers.totalFrames << " frames";

    // A copy under another name keeps the recording.
    const QString kept = f.dir.filePath("kept.avi");
    ASSERT_TRUE(f.frame.saveVideoAs(kept));
    EXPECT_EQ(readFile(kept), readFile(file));
}

TEST(grabvidFrame, SavesNumberedPicturesOfTheFrameSize)
{
    FrameFixture f;
    f.frame.setPictureFile(f.dir.filePath("shot.bmp"));
    ASSERT_TRUE(f.frame.capturePicture());
    ASSERT_TRUE(f.frame.capturePicture());
    for (const char *name : {"shot_1.bmp", "shot_2.bmp"}) {
        const QString path = f.dir.filePath(QString::fromLatin1(name));
        const QImage picture(path, "BMP");
        ASSERT_FALSE(picture.isNull()) << name;
        EXPECT_EQ(picture.size(), QSize(320, 240));
        const QByteArray bytes = readFile(path);
        EXPECT_TRUE(bytes.startsWith("BM"));
        EXPECT_EQ(quint8(bytes.at(28)), 24) << "bits per pixel";
    }
    EXPECT_FALSE(QFile::exists(f.dir.filePath("shot_3.bmp")));
    EXPECT_EQ(f.frame.pictures().counter(), 2);

    // Choosing the name again goes on after the pictures already there.
    f.frame.setPictureFile(f.dir.filePath("shot.bmp"));
    ASSERT_TRUE(f.frame.capturePicture());
    EXPECT_TRUE(QFile::exists(f.dir.filePath("shot_3.bmp")));
}

TEST(grabvidFrame, SettingsFileRoundTripsByteForByte)
{
    QTemporaryDir dir;
    const QByteArray text = "[FPS]\r\n10\r\n[AUDIO]\r\nN\r\n[BITS]\r\n16\r\n[FREQ]\r\n44100\r\n"
                            "[CHANNELS]\r\n2\r\n[CAP FILE]\r\n" +
                            dir.filePath("movies/cap.avi").toUtf8() + "\r\n[PIC FILE]\r\n" +
                            dir.filePath("stills/pic").toUtf8() + "\r\n4\r\n";
    const QString path = dir.filePath(GrabvidSettings::fileName());
    {
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(text);
    }
    RecordingMessagePort messages;
    {
        TGrabvidFrame frame({dir.path(), true});
        frame.setMessagePort(&messages);
        frame.startUp();
        const CaptureChoice choice = frame.captureChoice();
        EXPECT_EQ(choice.fps, 10);
        EXPECT_FALSE(choice.captureAudio);
        EXPECT_EQ(choice.samplesPerSec, 44100);
        EXPECT_EQ(frame.session().captureFile(), dir.filePath("movies/cap.avi"));
        EXPECT_EQ(frame.pictures().counter(), 4);
        frame.close();
    }
    EXPECT_EQ(readFile(path), text);
    EXPECT_TRUE(messages.shown.isEmpty());
}

TEST(grabvidFrame, GarbledSettingsFileGivesDefaults)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(GrabvidSettings::fileName());
    {
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write("[FPS]\r\n0\r\n[AUDIO]\r\n");
    }
    TGrabvidFrame frame({dir.path(), true});
    RecordingMessagePort messages;
    frame.setMessagePort(&messages);
    frame.startUp();
    EXPECT_EQ(frame.captureChoice().fps, 15);
    EXPECT_EQ(frame.session().captureFile(), dir.filePath("capture.avi"));
    frame.close();
    EXPECT_EQ(readFile(path), GrabvidSettings::defaults(dir.path()).serialize());
}

TEST(grabvidFrame, AboutCaptureDriverWithoutDrivers)
{
    FrameFixture f(false);
    if (!f.frame.drivers().isEmpty())
        GTEST_SKIP() << "this machine has a video capture device";
    EXPECT_FALSE(f.frame.session().isConnected());
    f.frame.aboutCaptureDriver();
    ASSERT_EQ(f.messages.shown.size(), 1);
    EXPECT_EQ(f.messages.shown.at(0).title, QStringLiteral("Capture Driver not found"));
    EXPECT_TRUE(f.messages.shown.at(0).text.startsWith(
        QStringLiteral("A video capture driver was not found.")));
    EXPECT_TRUE(f.messages.shown.at(0).text.contains(
        QStringLiteral("Check the Multimedia Control Panel to\n"
                       "verify the presence of a capture driver.")));
    // Commands that need a driver are off.
    EXPECT_FALSE(f.frame.findChild<QAction *>(QStringLiteral("actionPreview"))->isEnabled());
    EXPECT_FALSE(f.frame.findChild<QAction *>(QStringLiteral("actionCaptureVideo"))->isEnabled());
}

TEST(grabvidFrame, DriverConnectionAndAboutTexts)
{
    FrameFixture f;
    f.frame.aboutCaptureDriver();
    ASSERT_EQ(f.messages.shown.size(), 1);
    EXPECT_EQ(f.messages.shown.at(0).title, QStringLiteral("About Capture Driver"));
    EXPECT_TRUE(f.messages.shown.at(0).text.startsWith(f.frame.session().driver().name));

    ASSERT_TRUE(f.frame.disconnectDriver());
    f.frame.aboutCaptureDriver();
    ASSERT_EQ(f.messages.shown.size(), 2);
    EXPECT_TRUE(f.messages.shown.at(1).text.startsWith(
        QStringLiteral("Grabvid is not connected to a Video Capture Driver.")));
    EXPECT_FALSE(f.frame.capturePicture());
    EXPECT_EQ(f.messages.shown.last().title, QStringLiteral("Capture Driver Error"));
    EXPECT_EQ(f.messages.shown.last().text,
              QStringLiteral("Grabvid was unable to save the picture"));

    EXPECT_FALSE(f.frame.connectDriver(42));
    EXPECT_EQ(f.messages.shown.last().text,
              QStringLiteral("Grabvid was unable to connect to a Capture Driver"));
    ASSERT_TRUE(f.frame.connectDriver(int(f.frame.drivers().size()) - 1));
    EXPECT_TRUE(f.frame.session().isConnected());
}

TEST(grabvidFrame, FailuresShowCaptureDriverErrorBoxes)
{
    FrameFixture f;
    ASSERT_TRUE(f.frame.setCaptureFile(f.dir.filePath("no/such/folder/capture.avi")));
    EXPECT_FALSE(f.frame.captureVideo());
    ASSERT_FALSE(f.messages.shown.isEmpty());
    EXPECT_EQ(f.messages.shown.last().title, QStringLiteral("Capture Driver Error"));
    EXPECT_EQ(f.messages.shown.last().text,
              QStringLiteral("An error occured while capturing video"));
    EXPECT_EQ(f.frame.windowTitle(), QStringLiteral("Grabvid"));

    EXPECT_FALSE(f.frame.allocateCaptureSpace(1));
    EXPECT_EQ(f.messages.shown.last().text,
              QStringLiteral("Grabvid was unable to allocate the file space"));
    EXPECT_FALSE(f.frame.saveVideoAs(f.dir.filePath("copy.avi")));
    EXPECT_EQ(f.messages.shown.last().text,
              QStringLiteral("Grabvid was unable to save the Capture File"));
    EXPECT_FALSE(f.frame.setCaptureFile(QString()));
    EXPECT_EQ(f.messages.shown.last().text,
              QStringLiteral("Grabvid was unable to set the Capture Filename"));

    // The session still works after the failures.
    ASSERT_TRUE(f.frame.setCaptureFile(f.dir.filePath("capture.avi")));
    ASSERT_TRUE(f.frame.allocateCaptureSpace(2));
    EXPECT_EQ(QFileInfo(f.dir.filePath("capture.avi")).size(), qint64(2) << 20);
}

TEST(grabvidFrame, MenusCarryTheCommandsAndPrompts)
{
    FrameFixture f;
    QStringList menus;
    for (QAction *menu : f.frame.menuBar()->actions())
        menus << menu->text();
    EXPECT_EQ(menus, (QStringList{"&File", "&View", "Video", "Capture", "&Help"}));
    const auto prompt = [&](const char *name) {
        return f.frame.findChild<QAction *>(QString::fromLatin1(name))->statusTip();
    };
    EXPECT_EQ(prompt("actionCapturePicture"),
              QStringLiteral("Save Still 'Snapshot' Picture to a BMP file"));
    EXPECT_EQ(prompt("actionAllocate"), QStringLiteral("Allocate Disk space for the Capture File"));
    EXPECT_EQ(prompt("actionOpenMediaFile"),
              QStringLiteral("Opens an AVI, WAV, AU, or MIDI file."));
    EXPECT_TRUE(QFile::exists(QStringLiteral(":/grabvid/grabvid-help.html")));
    auto *overlay = f.frame.findChild<QAction *>(QStringLiteral("actionOverlay"));
    EXPECT_FALSE(overlay->isEnabled()) << "overlay is not supported";
    EXPECT_TRUE(f.frame.findChild<QAction *>(QStringLiteral("actionPreview"))->isEnabled());
}

TEST(grabvidFrame, ScreenshotOfThePreview)
{
    FrameFixture f;
    f.frame.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&f.frame));
    ASSERT_TRUE(f.frame.togglePreview());
    EXPECT_TRUE(f.frame.findChild<QAction *>(QStringLiteral("actionPreview"))->isChecked());
    QSignalSpy frames(&f.frame.session(), &CaptureSession::frameReady);
    ASSERT_TRUE(frames.wait(30000));
    // The middle of the window shows the test picture, not the empty dark background, once
    // the preview has painted a frame.
    const QPoint centre = f.frame.preview()->geometry().center();
    QImage shot = f.frame.grab().toImage();
    QElapsedTimer waited;
    waited.start();
    while (shot.pixelColor(centre) == QColor(32, 32, 32) && waited.elapsed() < 30000) {
        QTest::qWait(20);
        shot = f.frame.grab().toImage();
    }
    EXPECT_NE(shot.pixelColor(centre), QColor(32, 32, 32));
    const QDir dir(TestHome::binaryDir());
    ASSERT_TRUE(dir.mkpath(QStringLiteral("screenshots")));
    EXPECT_TRUE(shot.save(dir.filePath(QStringLiteral("screenshots/grabvid.png"))));
}

TEST(grabvidFrame, UncompressedMonoCaptureEndsOnAClickAndPlaysInTheVideoWindow)
{
    FrameFixture f;
    CaptureChoice choice;
    choice.fps = 10;
    choice.captureAudio = true;
    choice.bitsPerSample = 8;
    choice.samplesPerSec = 11025;
    choice.channels = 1;
    ASSERT_TRUE(f.frame.applyCaptureChoice(choice));
    ASSERT_TRUE(f.frame.session().setFrameSize(QSize(160, 120)));
    ASSERT_TRUE(f.frame.session().setEncoder({VideoEncoder::Uncompressed, 0}));
    const QString file = f.dir.filePath("raw.avi");
    ASSERT_TRUE(f.frame.setCaptureFile(file));

    QStringList progress;
    QObject::connect(&f.frame.session(), &CaptureSession::statusText,
                     [&](const QString &text) { progress << text; });
    // The click ends the capture once it has reported progress and written ten frames.
    QElapsedTimer bound;
    bound.start();
    QTimer watch;
    watch.setInterval(20);
    QObject::connect(&watch, &QTimer::timeout, &f.frame, [&] {
        CaptureStatus status;
        f.frame.session().getStatus(status);
        const bool reported = !progress.filter(QStringLiteral("Capturing: ")).isEmpty();
        if ((!reported || status.currentVideoFrame < 10) && bound.elapsed() < 60000)
            return;
        watch.stop();
        QTest::mouseClick(f.frame.preview(), Qt::LeftButton);
    });
    watch.start();
    ASSERT_TRUE(f.frame.captureVideo());
    EXPECT_TRUE(progress.filter(QStringLiteral("Capturing: ")).size() >= 1)
        << progress.join('|').toStdString();

    const QByteArray bytes = readFile(file);
    const AviHeaders headers = readAviHeaders(bytes);
    ASSERT_TRUE(headers.valid);
    EXPECT_EQ(headers.microSecPerFrame, 100000u);
    EXPECT_EQ(headers.width, 160u);
    EXPECT_EQ(headers.height, 120u);
    EXPECT_EQ(headers.blockAlign, 1);
    EXPECT_EQ(headers.avgBytesPerSec, 11025u);
    EXPECT_EQ(headers.bitsPerSample, 8);
    EXPECT_FALSE(bytes.left(4096).contains("MJPG"));

    TMediaWindow *window = f.frame.openMediaFile(file);
    ASSERT_TRUE(window->isOpen());
    EXPECT_EQ(window->windowTitle(), QStringLiteral("Video"));
    QSignalSpy finished(window->player(), &MediaPlayer::finished);
    ASSERT_TRUE(window->player()->play());
    ASSERT_TRUE(finished.wait(60000));
    EXPECT_GE(window->player()->framesShown(), 5);
    EXPECT_EQ(window->player()->currentFrame().size(), QSize(160, 120));
    window->close();
}

TEST(grabvidFrame, SourceControlsChangeThePicture)
{
    FrameFixture f;
    CaptureSession &session = f.frame.session();
    const QList<SourceControl> controls = session.sourceControls();
    QStringList names;
    for (const SourceControl &control : controls)
        names << control.name;
    ASSERT_TRUE(names.contains(QStringLiteral("BRIGHTNESS"))) << names.join(',').toStdString();

    f.frame.setPictureFile(f.dir.filePath("before.bmp"));
    ASSERT_TRUE(f.frame.capturePicture());
    ASSERT_TRUE(session.setSourceControl(QStringLiteral("BRIGHTNESS"), -1000));
    const auto brightness = [](const QImage &image) {
        qint64 sum = 0;
        for (int y = 0; y < image.height(); y += 8) {
            for (int x = 0; x < image.width(); x += 8)
                sum += qGray(image.pixel(x, y));
        }
        return sum;
    };
    const QImage before(f.dir.filePath("before_1.bmp"));
    ASSERT_FALSE(before.isNull());
    // Frames already on their way still show the old brightness: pictures are taken until
    // the control reaches one.
    f.frame.setPictureFile(f.dir.filePath("after.bmp"));
    QImage after;
    QElapsedTimer waited;
    waited.start();
    for (int n = 1; waited.elapsed() < 30000; ++n) {
        ASSERT_TRUE(f.frame.capturePicture());
        after = QImage(f.dir.filePath(QStringLiteral("after_%1.bmp").arg(n)));
        if (brightness(after) < brightness(before) / 2)
            break;
        QTest::qWait(20);
    }
    EXPECT_LT(brightness(after), brightness(before) / 2);
    EXPECT_FALSE(session.setSourceControl(QStringLiteral("NO SUCH CONTROL"), 1));
}

TEST(grabvidFrame, AllocateDialogShowsMegabytes)
{
    QTemporaryDir dir;
    const qint64 free = QStorageInfo(dir.path()).bytesAvailable();
    TAllocateDialog dialog(free >> 20, 3);
    auto *label = dialog.findChild<QLabel *>(QStringLiteral("freeSpace"));
    ASSERT_TRUE(label);
    EXPECT_EQ(label->text(), QStringLiteral("%1 MB").arg(free >> 20));
    EXPECT_EQ(dialog.megabytes(), 3);
}
