#include "cddb/CddbApply.h"
#include "cddb/CddbEntry.h"

#include <gtest/gtest.h>

using namespace Orbisong;

namespace {

const QChar Cr(13);

QStringList lines(const char *text)
{
    return SplitEntryLines(QString::fromLatin1(text));
}

} // namespace

TEST(CddbEntry, TitleCaseFollowsLettersApostrophesAndHyphens)
{
    EXPECT_EQ(TitleCase(QStringLiteral("AC/DC")), QStringLiteral("Ac/Dc"));
    EXPECT_EQ(TitleCase(QStringLiteral("don't stop")), QStringLiteral("Don't Stop"));
    EXPECT_EQ(TitleCase(QStringLiteral("rock-n-roll")), QStringLiteral("Rock-n-roll"));
    EXPECT_EQ(TitleCase(QString()), QString());
    // Letters beyond ASCII are letters of their words: UTF-8 entries read as written.
    EXPECT_EQ(TitleCase(QStringLiteral("\u00e9t\u00e9 OK")), QStringLiteral("\u00c9t\u00e9 Ok"));
    EXPECT_EQ(TitleCase(QStringLiteral("bj\u00f6rk")), QStringLiteral("Bj\u00f6rk"));
}

TEST(CddbEntry, SplitAtFirstSlash)
{
    QString artist, title;
    SplitArtistTitle(QStringLiteral("a/b/c"), &artist, &title);
    EXPECT_EQ(artist, QStringLiteral("A"));
    EXPECT_EQ(title, QStringLiteral("B/C"));
    SplitArtistTitle(QStringLiteral("  just one  "), &artist, &title);
    EXPECT_EQ(artist, QStringLiteral("Just One"));
    EXPECT_EQ(title, QStringLiteral("Just One"));
}

TEST(CddbEntry, ValuesJoinOverContinuationLinesAndStopAtEmpty)
{
    const QStringList l = lines("dtitle=Part one \nDTITLE=and two\nOTHER=x\nDTITLE=three\n"
                                "TTITLE0=\nTTITLE0=late\nDTITLE =no\n");
    EXPECT_EQ(GetEntryValue(QStringLiteral("DTITLE"), l), QStringLiteral("Part one and twothree"));
    EXPECT_EQ(GetEntryValue(QStringLiteral("TTITLE0"), l), QString());
    EXPECT_EQ(GetEntryValue(QStringLiteral("MISSING"), l), QString());
}

TEST(CddbEntry, CommentsKeepBackslashesThatEscapeNothing)
{
    const CddbAlbumFields f = ReadCddbEntry(
        QStringLiteral("misc"), 2,
        lines("DISCID=04018e01\nEXTD=Ripped to C:\\music\\x\\n\\tindented \\\\ slash\\\n"), 1);
    // The tab is decoded and then blanked like every control character of a comment.
    EXPECT_EQ(f.comments, QStringLiteral("Ripped to C:\\music\\x\r\n indented \\ slash\\"));
}

TEST(CddbEntry, CategoriesAndDiscIds)
{
    EXPECT_TRUE(IsCddbCategory(QStringLiteral("ROCK")));
    EXPECT_FALSE(IsCddbCategory(QStringLiteral("rock;quit")));
    EXPECT_EQ(CddbCategoryName(QStringLiteral("CLASSICA")), QStringLiteral("Classical"));
    EXPECT_EQ(CddbCategoryName(QStringLiteral("newage")), QStringLiteral("Newage"));
    EXPECT_TRUE(IsCddbDiscId(QStringLiteral("04018E02")));
    EXPECT_FALSE(IsCddbDiscId(QStringLiteral("04018E0")));
    EXPECT_FALSE(IsCddbDiscId(QStringLiteral("04018E0G")));
    EXPECT_EQ(DiscIdTrackCount(QStringLiteral("1a2b3c63")), 99);
    EXPECT_EQ(DiscIdTrackCount(QStringLiteral("xyz")), 0);
}

TEST(CddbEntry, ReadsAlbumFields)
{
    const QStringList l = lines(
        "# xmcd\n# Revision: 0\n# Revision: 7\nDISCID=04018e03\nDTITLE=the band / great HITS\n"
        "TTITLE0=  first song \nTTITLE1=sec\x01ond\nTTITLE2=third\nTTITLE3=beyond the disc\n"
        "EXTD=Great album\\nsecond line\\nURL: http://example.org/x \"Two words\"\n"
        "EXTD=\\nURL: ftp://nope \"x\"\\nURL: HTTP://bare\nEXTT0=a\\nb\nPLAYORDER=\n");
    // The disc (from its album ID) has only two tracks although the entry claims three.
    const CddbAlbumFields f = ReadCddbEntry(QStringLiteral("rock"), 3, l, 2);
    EXPECT_EQ(f.revision, 8);
    EXPECT_EQ(f.artist, QStringLiteral("The Band"));
    EXPECT_EQ(f.title, QStringLiteral("Great Hits"));
    EXPECT_EQ(f.category, QStringLiteral("Rock"));
    EXPECT_EQ(f.trackCount, 2);
    EXPECT_EQ(f.trackTitles, QStringLiteral("First Song") + Cr + QStringLiteral("Sec Ond"));
    EXPECT_EQ(f.extendedTrackData, QStringLiteral("a\\nb") + Cr);
    EXPECT_EQ(f.comments, QStringLiteral("Great album\r\nsecond line"));
    const QChar s(14);
    EXPECT_EQ(f.webLinks, QStringLiteral("http://example.org/x") + s + QStringLiteral("Two words") +
                              s + QLatin1Char('0') + Cr + QStringLiteral("HTTP://bare") + s +
                              QStringLiteral("HTTP://bare") + s + QLatin1Char('0'));
}

TEST(CddbEntry, NoTrackCountStillReadsFirstTitle)
{
    const CddbAlbumFields f = ReadCddbEntry(QStringLiteral("misc"), 2,
                                            lines("DISCID=bad\nTTITLE0=only\n# Revision: x\n"), 5);
    EXPECT_EQ(f.trackTitles, QStringLiteral("Only"));
    EXPECT_EQ(f.revision, 1);
    EXPECT_TRUE(f.comments.isEmpty());
}

TEST(CddbEntry, WritesWrappedEntryThatReadsBack)
{
    CddbWriteInput in;
    in.discId = QStringLiteral("04018E02");
    in.artist = QStringLiteral(" Artist ");
    in.title = QString(75 - 6, QLatin1Char('t')) + QStringLiteral("\u00e9");
    in.revision = 5000;
    in.discLengthSeconds = 400;
    in.trackTitles = QStringLiteral("One") + Cr + QString(69, QLatin1Char('x'));
    in.trackOffsets = QStringLiteral("150") + Cr + QStringLiteral("15000");
    in.comments = QStringLiteral("Nice\\nalbum");
    in.webLinks = QStringLiteral("http://a.example") + QChar(14) + QStringLiteral(" Home ") +
                  QChar(14) + QLatin1Char('0') + Cr + QStringLiteral("ftp://b") + QChar(14) +
                  QStringLiteral("x") + QChar(14) + QLatin1Char('0');
    const QString text = WriteCddbEntry(in, 2026);
    const QStringList l = SplitEntryLines(text);
    EXPECT_EQ(l.at(0), QStringLiteral("# xmcd CD database file"));
    EXPECT_TRUE(l.at(1).startsWith(QStringLiteral("# Copyright (C) 2026 ")));
    EXPECT_TRUE(l.contains(QStringLiteral("#     15000")));
    EXPECT_TRUE(l.contains(QStringLiteral("# Disc length: 400 seconds")));
    EXPECT_TRUE(l.contains(QStringLiteral("# Revision: 1")));
    EXPECT_TRUE(l.contains(QStringLiteral("DISCID=04018e02")));
    EXPECT_TRUE(l.contains(QStringLiteral("TTITLE1=") + QString(68, QLatin1Char('x'))));
    EXPECT_TRUE(l.contains(QStringLiteral("TTITLE1=x")));
    EXPECT_TRUE(l.contains(QStringLiteral("EXTD=Nice\\nalbum\\nURL: http://a.example \"Home\"")));
    EXPECT_TRUE(l.contains(QStringLiteral("PLAYORDER=")));
    for (const QString &line : l)
        EXPECT_LE(line.size(), 76);
    EXPECT_EQ(GetEntryValue(QStringLiteral("TTITLE1"), l), QString(69, QLatin1Char('x')));
    EXPECT_EQ(GetEntryValue(QStringLiteral("DTITLE"), l),
              QStringLiteral("Artist / ") + QString(69, QLatin1Char('t')) + QLatin1Char(' '));
    EXPECT_TRUE(text.endsWith(QLatin1Char('\n')));
    EXPECT_FALSE(text.contains(QLatin1Char('\r')));

    in.discId = QStringLiteral("04018E00");
    EXPECT_TRUE(WriteCddbEntry(in, 2026).isEmpty());
}

namespace {

struct RecordingReceiver : CddbEntryReceiver
{
    bool windowOpen = false;
    QString windowCategory;
    QList<CddbAlbumFields> applied;
    QStringList known{QStringLiteral("04018E0203A98")};

    bool handToWindow(const QString &, const QString &category, const QStringList &, int) override
    {
        windowCategory = category;
        return windowOpen;
    }
    bool applyToAlbum(const QString &albumId, const CddbAlbumFields &fields) override
    {
        if (!known.contains(albumId))
            return false;
        applied.append(fields);
        return true;
    }
};

} // namespace

TEST(CddbEntry, ApplyGoesToWindowElseToStoredAlbum)
{
    RecordingReceiver receiver;
    const QString entry =
        QStringLiteral("210 rock 04018e02\r\nDISCID=04018e02\r\nDTITLE=A / B\r\n.\r\n");
    EXPECT_TRUE(ApplyEntry(receiver, QStringLiteral("classica"), QStringLiteral("04018e0203a98"), 3,
                           entry));
    ASSERT_EQ(receiver.applied.size(), 1);
    EXPECT_EQ(receiver.applied.at(0).category, QStringLiteral("Classical"));
    EXPECT_EQ(receiver.applied.at(0).source, 3);
    EXPECT_FALSE(
        ApplyEntry(receiver, QStringLiteral("rock"), QStringLiteral("FFFFFFFF00000"), 3, entry));
    receiver.windowOpen = true;
    EXPECT_TRUE(
        ApplyEntry(receiver, QStringLiteral("rock"), QStringLiteral("04018E0203A98"), 2, entry));
    EXPECT_EQ(receiver.applied.size(), 1);
    EXPECT_EQ(receiver.windowCategory, QStringLiteral("Rock"));
}

TEST(CddbEntry, XmcdCheckWantsSignatureDiscIdAndTitle)
{
    const QString good = QStringLiteral("# xmcd\r\n#\r\nDISCID=0a0b0c03,04018E02\r\n"
                                        "DTITLE=A / B\r\nTTITLE0=x\r\n");
    EXPECT_TRUE(CheckXmcdEntry(good, QStringLiteral("04018e02")).isEmpty());
    EXPECT_TRUE(CheckXmcdEntry(good, QStringLiteral("0A0B0C03")).isEmpty());
    EXPECT_TRUE(CheckXmcdEntry(good, QStringLiteral("04018e03")).contains("does not name"));
    EXPECT_TRUE(
        CheckXmcdEntry(QStringLiteral("DISCID=04018e02\nDTITLE=A\n"), QStringLiteral("04018e02"))
            .contains("signature"));
    EXPECT_TRUE(CheckXmcdEntry(QStringLiteral("# xmcd\nDTITLE=A\n"), QStringLiteral("04018e02"))
                    .contains("DISCID"));
    EXPECT_TRUE(CheckXmcdEntry(QStringLiteral("# xmcd\nDISCID=04018e02\nDTITLE=\n"),
                               QStringLiteral("04018e02"))
                    .contains("DTITLE"));
    EXPECT_FALSE(CheckXmcdEntry(QString(), QStringLiteral("04018e02")).isEmpty());
    const QByteArray noise("\x8f\x01\xff# xmcd\nDISCID=04018e02\n", 24);
    EXPECT_FALSE(CheckXmcdEntry(QString::fromLatin1(noise), QStringLiteral("04018e02")).isEmpty());
}
