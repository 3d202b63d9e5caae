// Cost of digital playback: extracting audio from a disc image and feeding it to GStreamer.
// Prints the speed of a full-speed run (multiple of real time) and the CPU share of
// playback at real-time rate.
#include "playback/CdioDevice.h"
#include "playback/DiscImageWriter.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <QThread>

#include <cmath>
#include <cstdio>
#include <ctime>

using namespace Orbisong;

namespace {

double cpuSeconds()
{
    timespec t{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
    return double(t.tv_sec) + double(t.tv_nsec) / 1e9;
}

QByteArray music(int seconds)
{
    QByteArray pcm(qsizetype(seconds) * 75 * 2352, '\0');
    auto *samples = reinterpret_cast<qint16 *>(pcm.data());
    for (qsizetype i = 0; i < pcm.size() / 4; ++i) {
        samples[2 * i] = qint16(6000 * std::sin(i * 0.0627) + 3000 * std::sin(i * 0.0141));
        samples[2 * i + 1] = qint16(6000 * std::sin(i * 0.0411));
    }
    return pcm;
}

void waitUntilStopped(CdDevice &device)
{
    int mode = CdDevice::ModePlay;
    while (mode == CdDevice::ModePlay) {
        QThread::msleep(5);
        device.mode(&mode);
    }
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    QTemporaryDir dir;
    DiscImageWriter writer;
    writer.addAudioTrack(music(60));
    writer.addAudioTrack(music(10));
    const QString cue = dir.filePath(QStringLiteral("bench.cue"));
    if (!writer.write(cue)) {
        std::fprintf(stderr, "cannot write the image\n");
        return 1;
    }

    {
        CdioDevice device(cue, QStringLiteral("fakesink sync=false"));
        // One short run first so that plug-in loading is not counted.
        device.play(150 + 60 * 75);
        waitUntilStopped(device);
        const double cpu = cpuSeconds();
        QElapsedTimer wall;
        wall.start();
        // The whole disc (70 s) to its end, where the pipeline reports end of stream.
        device.play(150);
        waitUntilStopped(device);
        int position = 0;
        device.position(&position);
        const double used = cpuSeconds() - cpu;
        const double audio = (position - 150) / 75.0;
        std::printf("full speed: %.0f s of audio in %.3f s CPU, %.3f s wall: %.0fx real time "
                    "(goal >= 200x)\n",
                    audio, used, wall.elapsed() / 1000.0, audio / used);
    }
    {
        CdioDevice device(cue, QStringLiteral("fakesink sync=true"));
        const int seconds = argc > 1 ? std::atoi(argv[1]) : 10;
        device.play(150);
        QThread::msleep(300);
        const double cpu = cpuSeconds();
        QElapsedTimer wall;
        wall.start();
        // Polling the position as the player's 300 ms drive timer does.
        while (wall.elapsed() < seconds * 1000) {
            QThread::msleep(300);
            int position = 0;
            device.position(&position);
        }
        const double used = cpuSeconds() - cpu;
        device.stop();
        std::printf("real time: %.2f ms CPU per second of playback = %.3f%% of one core "
                    "(goal < 1%%)\n",
                    used * 1000 / (wall.elapsed() / 1000.0),
                    used * 100 / (wall.elapsed() / 1000.0));
    }
    return 0;
}
