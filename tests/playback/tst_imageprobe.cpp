#include "playback/CdioDevice.h"
#include "playback/CdioDriveSet.h"
#include "playback/ImageProbe.h"
#include "playback/ImageProbeReport.h"

#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QtEndian>

#include <gtest/gtest.h>

using namespace Orbisong;

namespace {

const QString kSink = QStringLiteral("fakesink sync=false");

QByteArray bigEndian32(quint32 value)
{
    QByteArray bytes(4, '\0');
    qToBigEndian(value, bytes.data());
    return bytes;
}

QByteArray bigEndian64(quint64 value)
{
    QByteArray bytes(8, '\0');
    qToBigEndian(value, bytes.data());
    return bytes;
}

QByteArray chunk(const char *tag, const QByteArray &body)
{
    return QByteArray(tag, 4) + bigEndian32(quint32(body.size())) + body;
}

// An NRG image of two audio tracks: the audio, then the chunk table (cue sheet, disc-at-once
// track list, session info, end), then a footer pointing at the table.
QByteArray nrgImage(qint64 *tableOffset)
{
    const QList<int> frames{300, 200};
    QByteArray audio;
    QByteArray cue;
    QByteArray tracks;
    const auto cueEntry = [&cue](int track, int index, qint32 lba) {
        cue += char(0x01);
        cue += char(track);
        cue += char(index);
        cue += char(0);
        cue += bigEndian32(quint32(lba));
    };
    cueEntry(0x00, 0, -150);
    int lba = 0;
    for (int n = 1; n <= frames.size(); ++n) {
        const quint64 from = quint64(audio.size());
        audio += QByteArray(frames[n - 1] * 2352, char(n));
        cueEntry(n, 0, n == 1 ? -150 : lba);
        cueEntry(n, 1, lba);
        lba += frames[n - 1];
        QByteArray track(12, '\0');
        track += QByteArray::fromHex("09300700"
                                     "0001");
        track += bigEndian64(from) + bigEndian64(from) + bigEndian64(quint64(audio.size()));
        tracks += track;
    }
    cueEntry(0xAA, 1, lba);
    QByteArray dao =
        QByteArray(14, '\0') + QByteArray::fromHex("0000") + char(1) + char(frames.size()) + tracks;
    dao.prepend(bigEndian32(quint32(dao.size() + 12)));
    const QByteArray table = chunk("CUEX", cue) + chunk("DAOX", dao) +
                             chunk("SINF", bigEndian32(quint32(frames.size()))) + chunk("END!", {});
    *tableOffset = audio.size();
    return audio + table + "NER5" + bigEndian64(quint64(audio.size()));
}

void writeFile(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

QString writeScript(const QTemporaryDir &dir, const QString &name, const QByteArray &body)
{
    const QString path = dir.filePath(name);
    writeFile(path, "#!/bin/sh\n" + body + "\n");
    QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    return path;
}

} // namespace

// Each of these makes libcdio divide by zero, segfault or free twice. Opening them must end
// in a refusal here, not in this process dying.
TEST(ImageProbe, ImagesThatCrashTheReaderAreReportedDamaged)
{
    ASSERT_TRUE(QFileInfo(ImageProbe().program()).isExecutable()) << "the probe is not built";
    QTemporaryDir dir;
    writeFile(dir.filePath(QStringLiteral("silence.toc")), "SILENCE 0:0:1\n");
    writeFile(dir.filePath(QStringLiteral("x.bin")), QByteArray(4704, '\0'));
    writeFile(dir.filePath(QStringLiteral("form2.toc")), "TRACK MODE2_FORM2\nFILE \"x.bin\" 0\n");
    qint64 table = 0;
    QByteArray nrg = nrgImage(&table);
    writeFile(dir.filePath(QStringLiteral("good.nrg")), nrg);
    nrg[table + 4] = char(0xff); // the cue sheet's length now reaches far past the file
    writeFile(dir.filePath(QStringLiteral("damaged.nrg")), nrg);

    for (const char *name : {"silence.toc", "form2.toc", "damaged.nrg"}) {
        SCOPED_TRACE(name);
        const QString image = dir.filePath(QString::fromLatin1(name));
        CdioDevice device(image, kSink);
        QString error;
        EXPECT_FALSE(device.isOpen(&error));
        EXPECT_EQ(device.openErrorCode(), CdDevice::ErrorImageDamaged);
        EXPECT_TRUE(error.contains(QStringLiteral("is damaged"))) << qPrintable(error);

        CdioDriveSet drives({image}, kSink);
        int code = 0;
        QString text;
        EXPECT_EQ(drives.open(drives.letters().back(), &code, &text), nullptr);
        EXPECT_EQ(code, CdDevice::ErrorImageDamaged);
    }

    // The same table undamaged reads as the two tracks it describes.
    CdioDevice good(dir.filePath(QStringLiteral("good.nrg")), kSink);
    QString goodError;
    ASSERT_TRUE(good.isOpen(&goodError)) << qPrintable(goodError);
    int count = 0;
    good.trackCount(&count);
    EXPECT_EQ(count, 2);
}

TEST(ImageProbe, AHangingGreedyOrMissingProbeRefusesTheImage)
{
    QTemporaryDir dir;
    const QString image = dir.filePath(QStringLiteral("any.cue"));
    writeFile(image, "FILE \"any.bin\" BINARY\n");
    QString error;

    ImageProbe hanging;
    hanging.setProgram(writeScript(dir, QStringLiteral("hang"), "exec sleep 600"));
    hanging.setTimeLimit(300);
    EXPECT_FALSE(hanging.probe(image, &error));
    EXPECT_TRUE(error.contains(QStringLiteral("took longer"))) << qPrintable(error);

    // Asks for 1 GiB under a 256 MiB limit: the limit applies in the child.
    ImageProbe greedy;
    greedy.setProgram(writeScript(dir, QStringLiteral("greedy"),
                                  "exec /usr/bin/python3 -c 'bytearray(1 << 30)'"));
    greedy.setMemoryLimit(qint64(256) << 20);
    EXPECT_FALSE(greedy.probe(image, &error));

    ImageProbe crashing;
    crashing.setProgram(writeScript(dir, QStringLiteral("crash"), "kill -SEGV $$"));
    EXPECT_FALSE(crashing.probe(image, &error));
    EXPECT_TRUE(error.contains(QStringLiteral("crashed"))) << qPrintable(error);

    ImageProbe missing;
    missing.setProgram(dir.filePath(QStringLiteral("no-such-probe")));
    EXPECT_FALSE(missing.probe(image, &error));
    EXPECT_TRUE(error.contains(QStringLiteral("missing"))) << qPrintable(error);

    ImageProbe lying;
    lying.setProgram(writeScript(dir, QStringLiteral("lie"), "echo 'first 1'; echo 'leadout 9'"));
    EXPECT_FALSE(lying.probe(image, &error));
    EXPECT_TRUE(error.contains(QStringLiteral("no tracks"))) << qPrintable(error);
}

TEST(ImageProbeReport, OnlyADiscsTableIsAccepted)
{
    QString error;
    const auto good = ImageProbeReport::parse(
        "first 1\ntrack 1 150 audio\ntrack 2 450 data\nleadout 650\n", &error);
    ASSERT_TRUE(good) << qPrintable(error);
    EXPECT_EQ(good->starts(), QList<int>({150, 450}));
    EXPECT_EQ(good->audio(), QList<bool>({true, false}));
    EXPECT_EQ(good->leadOut(), 650);

    const char *bad[] = {
        "",
        "first 1\nleadout 650\n",
        "first 0\ntrack 0 150 audio\nleadout 650\n",
        "first 1\ntrack 2 150 audio\nleadout 650\n",
        "first 1\ntrack 1 450 audio\ntrack 2 150 audio\nleadout 650\n",
        "first 1\ntrack 1 -5 audio\nleadout 650\n",
        "first 1\ntrack 1 150 audio\nleadout 99999999999\n",
        "first 99\ntrack 99 150 audio\ntrack 100 300 audio\nleadout 650\n",
        "first 1\ntrack 1 150 video\nleadout 650\n",
        "first 1\ntrack 1 150 audio\n",
        "first 1\ntrack 1 150 audio\nleadout 650\ntrack 2 700 audio\n",
        "first 1\nfirst 1\ntrack 1 150 audio\nleadout 650\n",
        "track 1 150 audio\nleadout 650\n",
        "first 1\ntrack 1 1e3 audio\nleadout 650\n",
    };
    for (const char *text : bad) {
        SCOPED_TRACE(text);
        EXPECT_FALSE(ImageProbeReport::parse(text, &error));
        EXPECT_FALSE(error.isEmpty());
    }
}
