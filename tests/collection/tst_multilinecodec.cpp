#include "collection/MultilineCodec.h"

#include <gtest/gtest.h>

using namespace Orbisong;

TEST(MultilineCodec, EncodesLineBreaksTabsAndBackslashes)
{
    EXPECT_EQ(EncodeMultiline("a\r\nb\tc\\d"), "a\\nb\\tc\\\\d");
    EXPECT_EQ(EncodeMultiline("lone\rcr"), "lonecr");
    EXPECT_EQ(EncodeMultiline("trailing\r\n"), "trailing");
    EXPECT_EQ(EncodeMultiline("tab\t"), "tab");
    EXPECT_EQ(EncodeMultiline("end\\"), "end\\");
    EXPECT_EQ(EncodeMultiline(""), "");
}

TEST(MultilineCodec, DecodeReversesEncode)
{
    EXPECT_EQ(DecodeMultiline("a\\nb\\tc\\\\d"), "a\r\nb\tc\\d");
    EXPECT_EQ(DecodeMultiline("\\x"), "x");
    EXPECT_EQ(DecodeMultiline("end\\"), "end\\");
    for (const QString &text : {QStringLiteral("Line 1\r\nLine 2\tTabbed \\ slash"),
                               QStringLiteral("C:\\Music\\x")})
        EXPECT_EQ(DecodeMultiline(EncodeMultiline(text)), text);
}

TEST(MultilineCodec, DecodeCanKeepUnknownEscapes)
{
    constexpr auto keep = UnknownEscape::Keep;
    EXPECT_EQ(DecodeMultiline("a\\nb\\tc\\\\d", keep), "a\r\nb\tc\\d");
    EXPECT_EQ(DecodeMultiline("C:\\dir\\x", keep), "C:\\dir\\x");
    EXPECT_EQ(DecodeMultiline("\\x\\", keep), "\\x\\");
    EXPECT_EQ(DecodeMultiline("\\\\x", keep), "\\x");
}
