#include "app/CommandLine.h"

#include <gtest/gtest.h>

using namespace Orbisong;

namespace {

// Pretends every path ending in "TrackNN.cda" is a track file of track NN.
int fakeTrackReader(const QString &path)
{
    QString name = path.toUpper();
    name = name.mid(qMax(name.lastIndexOf(QLatin1Char('/')), name.lastIndexOf(QLatin1Char('\\'))) + 1);
    if (!name.startsWith(QLatin1String("TRACK")) || !name.endsWith(QLatin1String(".CDA")))
        return 0;
    return name.mid(5, name.size() - 9).toInt();
}

} // namespace

TEST(StartupSwitches, SwitchesAreCaseInsensitiveWholeWords)
{
    const StartupSwitches s = parseStartupSwitches(
        {"/play", "/Close", "/NODRIVE", "/convert", "/noanim", "/PLAYX"}, {"D"}, fakeTrackReader);
    EXPECT_TRUE(s.play);
    EXPECT_TRUE(s.closeOnEject);
    EXPECT_TRUE(s.noDrive);
    EXPECT_TRUE(s.convert);
    EXPECT_TRUE(s.noAnimations);
    EXPECT_TRUE(s.startDrive.isEmpty());
}

TEST(StartupSwitches, DrivePathSelectsStartDriveAndTrack)
{
    const StartupSwitches drive = parseStartupSwitches({"e:\\"}, {"D", "E"}, fakeTrackReader);
    EXPECT_EQ(drive.startDrive, "E");
    EXPECT_EQ(drive.startTrack, 0);

    const StartupSwitches track =
        parseStartupSwitches({"E:\\Track05.cda"}, {"D", "E"}, fakeTrackReader);
    EXPECT_EQ(track.startDrive, "E");
    EXPECT_EQ(track.startTrack, 5);

    const StartupSwitches unknown = parseStartupSwitches({"F:\\"}, {"D", "E"}, fakeTrackReader);
    EXPECT_TRUE(unknown.startDrive.isEmpty());
}

TEST(StartupSwitches, DiscImagesAndDemo)
{
    const StartupSwitches s =
        parseStartupSwitches({"--demo", "/tmp/a.cue", "b.TOC", "c.nrg"}, {}, fakeTrackReader);
    EXPECT_TRUE(s.demo);
    EXPECT_EQ(s.discImages, QStringList({"/tmp/a.cue", "b.TOC", "c.nrg"}));
}

TEST(Handover, PlayWithoutDrive)
{
    const Handover h = computeHandover({"/PLAY"}, fakeTrackReader);
    EXPECT_EQ(h.kind, Handover::Play);
    EXPECT_TRUE(h.drive.isNull());
    EXPECT_EQ(h.encode(), "PLAY drive=");
}

TEST(Handover, TrackFileGivesPlayTrack)
{
    const Handover h = computeHandover({"e:\\Track05.cda"}, fakeTrackReader);
    EXPECT_EQ(h.kind, Handover::PlayTrack);
    EXPECT_EQ(h.drive, QChar('E'));
    EXPECT_EQ(h.track, 5);
    EXPECT_EQ(h.encode(), "PLAYTRACK drive=E track=5");
    EXPECT_EQ(Handover::decode(h.encode()), h);
}

TEST(Handover, LastTrackParameterCounts)
{
    // The last track file names track 0, so no track is played; the drive letter of the
    // earlier file stays and /PLAY plays that drive.
    const Handover h =
        computeHandover({"/PLAY", "E:\\Track05.cda", "D:\\notes.txt"}, fakeTrackReader);
    EXPECT_EQ(h.kind, Handover::Play);
    EXPECT_EQ(h.drive, QChar('E'));
}

TEST(Handover, NoParametersOnlyRaises)
{
    EXPECT_EQ(computeHandover({}, fakeTrackReader).kind, Handover::Raise);
    EXPECT_EQ(computeHandover({"/CLOSE", "123"}, fakeTrackReader).kind, Handover::Raise);
    EXPECT_EQ(Handover::decode("RAISE").kind, Handover::Raise);
    EXPECT_EQ(Handover::decode("garbage").kind, Handover::Raise);
}
