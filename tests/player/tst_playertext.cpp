#include "player/PlayerText.h"

#include <gtest/gtest.h>

using namespace Orbisong;

namespace {

FormatContext playingContext()
{
    FormatContext c;
    c.audio = true;
    c.artist = QStringLiteral("Nina Holm");
    c.title = QStringLiteral("Harbour Lights");
    c.playlistName = QStringLiteral("Album");
    c.stepCount = 12;
    c.stepNumber = 3;
    c.minutes = 2;
    c.seconds = 5;
    c.track = 3;
    c.trackNotes = QStringLiteral("live take");
    c.stepTitle = QStringLiteral("Northern Pier");
    return c;
}

} // namespace

TEST(FormatExpansion, DefaultCaptionAndInfoLine)
{
    EXPECT_EQ(ExpandFormat(QStringLiteral("%P %V"), {}), QStringLiteral("Orbisong 4.0.3"));
    EXPECT_EQ(ExpandFormat(QStringLiteral("[A%t]"), playingContext()),
              QStringLiteral("Northern Pier"));
    EXPECT_EQ(ExpandFormat(QStringLiteral("[A%t]"), FormatContext{}), QString());
}

TEST(FormatExpansion, PercentShortFormatsAndUnknownLetters)
{
    EXPECT_EQ(ExpandFormat(QStringLiteral("%%"), {}), QStringLiteral("%"));
    EXPECT_EQ(ExpandFormat(QStringLiteral("%"), {}), QStringLiteral("%"));
    EXPECT_EQ(ExpandFormat(QStringLiteral("["), {}), QStringLiteral("["));
    EXPECT_EQ(ExpandFormat(QStringLiteral("a%qb"), {}), QStringLiteral("ab"));
    EXPECT_EQ(ExpandFormat(QStringLiteral("50%"), {}), QStringLiteral("50"));
}

TEST(FormatExpansion, AllPlaceholdersAndSections)
{
    const FormatContext c = playingContext();
    EXPECT_EQ(ExpandFormat(QStringLiteral("%n %m:%s %N/%C %L"), c),
              QStringLiteral("03 02:05 3/12 Album"));
    EXPECT_EQ(ExpandFormat(QStringLiteral("%A - %T (%o)"), c),
              QStringLiteral("Nina Holm - Harbour Lights (live take)"));
    EXPECT_EQ(ExpandFormat(QStringLiteral("[aNo disc][A%T]!"), c),
              QStringLiteral("Harbour Lights!"));
    EXPECT_EQ(ExpandFormat(QStringLiteral("[aNo disc][A%T]!"), FormatContext{}),
              QStringLiteral("No disc!"));
    // Any other condition letter is consumed and the section kept; "]" is never copied.
    EXPECT_EQ(ExpandFormat(QStringLiteral("[xkept] a]b"), {}), QStringLiteral("kept ab"));
}

TEST(FormatExpansion, NotesOnlyWithATrackAndOutputCapped)
{
    FormatContext c = playingContext();
    c.track = 0;
    EXPECT_EQ(ExpandFormat(QStringLiteral("<%o>"), c), QStringLiteral("<>"));
    c.title = QString(300, u'x');
    EXPECT_EQ(ExpandFormat(QStringLiteral("%T%T"), c).size(), 255);
}

TEST(TimeTexts, DigitsSummaryAndNegative)
{
    EXPECT_EQ(TwoDigits(-4), QStringLiteral("00"));
    EXPECT_EQ(TwoDigits(7), QStringLiteral("07"));
    EXPECT_EQ(TwoDigits(123), QStringLiteral("123"));
    EXPECT_EQ(FramesToText(-75), QStringLiteral("00:00"));
    EXPECT_EQ(FramesToText(4500 * 3 + 75 * 7 + 74), QStringLiteral("03:07"));
    EXPECT_EQ(TimeButtonText(0, 0), QStringLiteral("00 00:00"));
    EXPECT_EQ(TimeButtonText(12, 4500 * 61), QStringLiteral("12 61:00"));
    EXPECT_EQ(PlaylistSummary(4500 * 45 + 75 * 30, 12), QStringLiteral("45:30 in 12 tracks"));
    EXPECT_EQ(PlaylistSummary(0, 0), QString());
}

TEST(Favorites, PlaylistNameOfUser)
{
    EXPECT_EQ(FavoritesPlaylistName(QStringLiteral("anna")), QStringLiteral("Anna's Favorites"));
    EXPECT_EQ(FavoritesPlaylistName(QStringLiteral("JAMES")), QStringLiteral("James' Favorites"));
    EXPECT_EQ(FavoritesPlaylistName(QStringLiteral("mary-jo_o'neil")),
              QStringLiteral("Mary-jo_O'neil's Favorites"));
    // No leading blank: it would not survive a save and reload of the collection.
    EXPECT_EQ(FavoritesPlaylistName(QStringLiteral("Nologin")), QStringLiteral("Favorites"));
}

TEST(DriveMenu, CaptionsPerDiscState)
{
    DriveDiscLabel audio{DriveDiscLabel::Audio, QStringLiteral("Rock & Roll"),
                         QStringLiteral("Smith & Sons")};
    EXPECT_EQ(DriveMenuCaption(u'd', true, audio),
              QStringLiteral("D: Rock && Roll - Smith && Sons"));
    EXPECT_EQ(DriveMenuCaption(u'D', false, audio), QStringLiteral("D: "));
    EXPECT_EQ(DriveMenuCaption(u'E', true, {DriveDiscLabel::Empty, {}, {}}),
              QStringLiteral("E: <Drive Empty>"));
    EXPECT_EQ(DriveMenuCaption(u'E', true, {DriveDiscLabel::CdRom, {}, {}}),
              QStringLiteral("E: <CD-ROM>"));
    EXPECT_EQ(DriveMenuCaption(u'F', true, {DriveDiscLabel::NotInCollection, {}, {}}),
              QStringLiteral("F: <Unknown>"));
    EXPECT_EQ(DriveMenuCaption(u'F', true, {DriveDiscLabel::Unreadable, {}, {}}),
              QStringLiteral("F: <Unknown>"));
}

TEST(TrayTip, CutTo62Characters)
{
    EXPECT_EQ(TrayTip(QString(70, u'a')).size(), 62);
    EXPECT_EQ(TrayTip(QStringLiteral("short")), QStringLiteral("short"));
}
