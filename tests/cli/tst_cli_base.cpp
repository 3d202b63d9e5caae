#include "CliRunner.h"
#include "TestHome.h"

#include <gtest/gtest.h>

TEST(Cli, VersionAndUsage)
{
    TestHome home;
    const CliResult version = runCli(home.path(), {"--version"});
    EXPECT_EQ(version.exitCode, 0);
    EXPECT_EQ(version.out, "Orbisong 4.0.3\n");
    EXPECT_EQ(runCli(home.path(), {"no-such-command"}).exitCode, 2);
    EXPECT_EQ(runCli(home.path(), {"settings", "get"}).exitCode, 2);
}

TEST(Cli, SettingsGetSetAndFlags)
{
    TestHome home;
    EXPECT_EQ(runCli(home.path(), {"settings", "get", "Options", "Intro Value"}).out, "0:20\n");
    EXPECT_EQ(runCli(home.path(), {"settings", "set", "Options", "Max Recent Inserts", "0x14"})
                  .exitCode,
              0);
    EXPECT_EQ(runCli(home.path(), {"settings", "get", "options", "max recent inserts"}).out,
              "20\n");
    EXPECT_EQ(runCli(home.path(), {"settings", "flag", "18"}).out, "on\n");
    EXPECT_EQ(runCli(home.path(), {"settings", "flag", "18", "off"}).out, "off\n");
    EXPECT_EQ(runCli(home.path(), {"settings", "flag", "18"}).out, "off\n");
    EXPECT_EQ(runCli(home.path(), {"settings", "flag", "2"}).out, "off\n");
    EXPECT_EQ(runCli(home.path(), {"settings", "get", "Options", "No Such Value"}).exitCode, 1);
}

TEST(Cli, MessagePrintsTheParsedBox)
{
    TestHome home;
    const CliResult result = runCli(home.path(), {"message", "12290"});
    EXPECT_EQ(result.exitCode, 0);
    EXPECT_EQ(result.out,
              "picture: question\n"
              "buttons: Yes No Cancel\n"
              "default: Yes\n"
              "title: Orbisong is still playing.\n"
              "body: Do you want to stop playback before Orbisong closes?\\n\\nIf you click 'No' "
              "playback will continue until the end of the album.\n");
    const CliResult drive = runCli(home.path(), {"message", "12293", "E"});
    EXPECT_TRUE(drive.out.contains("body: An error occurred while attempting to open CD-ROM "
                                   "drive 'E'.\n"));
    EXPECT_TRUE(drive.out.contains("picture: error\nbuttons: Cancel\ndefault: Cancel\n"));
    EXPECT_EQ(runCli(home.path(), {"message", "1"}).exitCode, 1);
}
