#include "print/RtfReader.h"
#include "print/RtfWriter.h"
#include "PrintTestSupport.h"

#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>

#include <gtest/gtest.h>

using namespace Orbisong;

namespace {

struct TextRun
{
    QString text;
    QString family;
    double points;
    bool bold;
    bool italic;
    bool underline;
    bool operator==(const TextRun &) const = default;
};

// Each paragraph as its alignment and its runs, for comparing documents.
QList<QPair<Qt::Alignment, QList<TextRun>>> shape(const QTextDocument &document)
{
    QList<QPair<Qt::Alignment, QList<TextRun>>> result;
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
        QList<TextRun> runs;
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextCharFormat f = it.fragment().charFormat();
            const QStringList families = f.fontFamilies().toStringList();
            runs.append({it.fragment().text(), families.value(0), f.fontPointSize(),
                         f.fontWeight() >= QFont::DemiBold, f.fontItalic(), f.fontUnderline()});
        }
        result.append({block.blockFormat().alignment() & Qt::AlignHorizontal_Mask, runs});
    }
    return result;
}

QTextCharFormat charFormat(const QString &family, double points, bool bold = false,
                           bool italic = false, bool underline = false)
{
    QTextCharFormat f;
    f.setFontFamilies(QStringList{family});
    f.setFontPointSize(points);
    f.setFontWeight(bold ? QFont::Bold : QFont::Normal);
    f.setFontItalic(italic);
    f.setFontUnderline(underline);
    return f;
}

} // namespace

TEST(Rtf, ReadsFontsSizesStylesAndAlignment)
{
    QTextDocument doc;
    readRtf(QStringLiteral("{\\rtf1\\ansi\\deff0{\\fonttbl{\\f0\\fnil Arial;}{\\f1\\froman Times "
                           "New Roman;}}{\\colortbl;\\red255\\green0\\blue0;}"
                           "{\\*\\generator Writer 1.0;}\\viewkind4\\uc1"
                           "\\pard\\qc\\f1\\fs36\\b Title\\b0\\par "
                           "\\pard\\f0\\fs20 plain \\i it\\i0  \\ul un\\ulnone\\tab end\\par "
                           "\\qr right}"),
            doc);
    const auto s = shape(doc);
    ASSERT_EQ(s.size(), 3);
    EXPECT_EQ(s[0].first, Qt::AlignHCenter);
    ASSERT_EQ(s[0].second.size(), 1);
    EXPECT_EQ(s[0].second[0], (TextRun{"Title", "Times New Roman", 18, true, false, false}));
    EXPECT_EQ(s[1].first, Qt::AlignLeft);
    EXPECT_EQ(doc.begin().next().text(), QStringLiteral("plain it un\tend"));
    EXPECT_EQ(s[1].second[1], (TextRun{"it", "Arial", 10, false, true, false}));
    EXPECT_EQ(s[1].second[3], (TextRun{"un", "Arial", 10, false, false, true}));
    EXPECT_EQ(s[2].first, Qt::AlignRight);
    // The generator and colour tables are not text.
    EXPECT_FALSE(doc.toPlainText().contains(QStringLiteral("Writer")));
    EXPECT_FALSE(doc.toPlainText().contains(QStringLiteral(";")));
}

TEST(Rtf, ReadsEscapedCharactersAndIgnoresUnknownWords)
{
    QTextDocument doc;
    readRtf(QStringLiteral("{\\rtf1\\ansi Caf\\'e9 \\'80 \\u8364?\\u-3998? \\{x\\}\\\\ "
                           "\\unknownword12 a\\zz b{\\*\\ignored {nested} text}c}"),
            doc);
    EXPECT_EQ(doc.toPlainText(), QString::fromUtf8("Café € €") + QChar(char16_t(0xF062)) +
                                     QStringLiteral(" {x}\\ abc"));

    // Groups restore the character properties of their surroundings.
    readRtf(QStringLiteral("{\\rtf1 a{\\b b}c}"), doc);
    const auto s = shape(doc);
    ASSERT_EQ(s[0].second.size(), 3);
    EXPECT_FALSE(s[0].second[0].bold);
    EXPECT_TRUE(s[0].second[1].bold);
    EXPECT_FALSE(s[0].second[2].bold);

    // Anything not rich text is plain text.
    readRtf(QStringLiteral("line one\r\nline [two]"), doc);
    EXPECT_EQ(doc.blockCount(), 2);
    EXPECT_EQ(doc.toPlainText(), QStringLiteral("line one\nline [two]"));
}

TEST(Rtf, RoundTripsThroughTheWriter)
{
    QTextDocument original;
    original.setDefaultFont(QFont(QStringLiteral("Sans"), 11));
    QTextCursor cursor(&original);
    QTextBlockFormat centred;
    centred.setAlignment(Qt::AlignHCenter);
    cursor.setBlockFormat(centred);
    cursor.insertText(QStringLiteral("[%album_title]"), charFormat("Serif", 20, true));
    QTextBlockFormat right;
    right.setAlignment(Qt::AlignRight);
    cursor.insertBlock(right);
    cursor.insertText(QStringLiteral("a {brace} \\ back"), charFormat("Sans", 9));
    cursor.insertText(QStringLiteral("\tbold italic"), charFormat("Sans", 9, true, true));
    cursor.insertText(QString::fromUtf8(" ünï € 𝄞"), charFormat("Mono", 12, false, false, true));
    cursor.insertBlock(QTextBlockFormat());
    cursor.insertBlock(QTextBlockFormat());
    cursor.insertText(QStringLiteral(" leading blank"), charFormat("Sans", 11));

    const QString rtf = writeRtf(original);
    EXPECT_TRUE(rtf.startsWith(QStringLiteral("{\\rtf1")));
    for (const QChar c : rtf)
        EXPECT_LT(c.unicode(), 0x80) << "the rich text is plain ASCII";
    EXPECT_FALSE(rtf.contains(QLatin1Char('\n')));

    QTextDocument copy;
    readRtf(rtf, copy);
    EXPECT_EQ(shape(copy), shape(original));
    EXPECT_EQ(copy.toPlainText(), original.toPlainText());
    // Writing what was read gives the same text again.
    EXPECT_EQ(writeRtf(copy), rtf);
}
