#include "CliRunner.h"
#include "PrintTestSupport.h"
#include "TestFiles.h"
#include "TestHome.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>

#include <gtest/gtest.h>

namespace {

class CliPrint : public ::testing::Test
{
protected:
    void SetUp() override
    {
        m_collection = m_home.file(QStringLiteral("demo.obc"));
        ASSERT_TRUE(
            QFile::copy(TestHome::sourceDir() + QStringLiteral("/tests/data/collection/browse.obc"),
                        m_collection));
    }

    CliResult print(const QString &tpl, const QString &pdf, const QStringList &more = {})
    {
        return runCli(m_home.path(),
                      QStringList{QStringLiteral("--collection"), m_collection,
                                  QStringLiteral("print"), QStringLiteral("--template"), tpl,
                                  QStringLiteral("--pdf"), pdf} +
                          more);
    }

    static QString pdfText(const QString &pdf)
    {
        QProcess process;
        process.start(QStringLiteral("pdftotext"),
                      {QStringLiteral("-layout"), pdf, QStringLiteral("-")});
        process.waitForFinished(60000);
        return QString::fromUtf8(process.readAllStandardOutput());
    }

    TestHome m_home;
    QString m_collection;
};

} // namespace

TEST_F(CliPrint, PrintsTheDemoCollectionThroughTheShippedTemplates)
{
    const QString catalogue = m_home.file(QStringLiteral("catalogue.pdf"));
    const CliResult result = print(QStringLiteral("catalogue.obt"), catalogue);
    ASSERT_EQ(result.exitCode, 0) << result.err.toStdString();
    EXPECT_EQ(result.out, QStringLiteral("1\n"));
    const QString text = pdfText(catalogue);
    EXPECT_TRUE(text.contains(QStringLiteral("6 albums")));
    EXPECT_TRUE(text.contains(QStringLiteral("Come Together")));
    EXPECT_TRUE(text.contains(QStringLiteral("Page 1")));
    // Titles in order, "A Quiet Night" among the Q's.
    EXPECT_LT(text.indexOf(QStringLiteral("Main Course")), text.indexOf(QStringLiteral("A Quiet")));
    EXPECT_LT(text.indexOf(QStringLiteral("A Quiet")), text.indexOf(QStringLiteral("Zebra")));

    const QString out = QDir(TestHome::binaryDir()).filePath(QStringLiteral("screenshots"));
    QDir().mkpath(out);
    QProcess render;
    render.start(QStringLiteral("pdftoppm"),
                 {QStringLiteral("-png"), QStringLiteral("-r"), QStringLiteral("60"),
                  QStringLiteral("-f"), QStringLiteral("1"), QStringLiteral("-l"),
                  QStringLiteral("1"), QStringLiteral("-singlefile"), catalogue,
                  out + QStringLiteral("/print-1")});
    ASSERT_TRUE(render.waitForFinished(60000));
    EXPECT_TRUE(QFileInfo::exists(out + QStringLiteral("/print-1.png")));

    // Two inserts a page: six albums, three pages; or the two asked for, one page.
    const QString inserts = m_home.file(QStringLiteral("inserts.pdf"));
    EXPECT_EQ(print(QStringLiteral("cd-insert.obt"), inserts).out, QStringLiteral("3\n"));
    const CliResult two =
        print(QStringLiteral("cd-insert.obt"), inserts,
              {QStringLiteral("--albums"), QStringLiteral("2000000000002,1000000000001")});
    EXPECT_EQ(two.out, QStringLiteral("1\n"));
    EXPECT_FALSE(pdfText(inserts).contains(QStringLiteral("Zebra")));
}

TEST_F(CliPrint, UnescapesTrackNotes)
{
    const QString tpl = m_home.file(QStringLiteral("notes.obt"));
    writeFile(tpl, "PRINT\n0\n\n\n[&foreach album][&foreach track][%track_other][&nl][&end][&end]\n"
                   "0,0,0,0\n0,0,0,0\n10000,10000,60000,80000\n");
    const QString pdf = m_home.file(QStringLiteral("notes.pdf"));
    const CliResult result =
        print(tpl, pdf, {QStringLiteral("--albums"), QStringLiteral("1000000000001")});
    ASSERT_EQ(result.exitCode, 0) << result.err.toStdString();
    const QString text = pdfText(pdf);
    EXPECT_TRUE(text.contains(QStringLiteral("Recorded\n"))) << text.toStdString();
    EXPECT_TRUE(text.contains(QStringLiteral("in London")));
    EXPECT_FALSE(text.contains(QStringLiteral("\\n")));
}

TEST_F(CliPrint, RefusesWhatCannotBePrinted)
{
    const QString pdf = m_home.file(QStringLiteral("out.pdf"));
    const QString noAreas = m_home.file(QStringLiteral("empty.obt"));
    writeFile(noAreas, "PRINT\n12\nhead\nfoot\n[&foreach album][%album_title][&nl][&end]\n"
                       "0,0,80000,10000\n0,100000,80000,10000\n");
    const CliResult none = print(noAreas, pdf);
    EXPECT_EQ(none.exitCode, 2);
    EXPECT_TRUE(none.err.contains(QStringLiteral("no areas"))) << none.err.toStdString();
    EXPECT_FALSE(QFileInfo::exists(pdf));

    const QString exportTemplate = m_home.file(QStringLiteral("export.obt"));
    writeFile(exportTemplate, "EXPORT\n");
    EXPECT_EQ(print(exportTemplate, pdf).exitCode, 2);
    EXPECT_EQ(print(QStringLiteral("missing.obt"), pdf).exitCode, 1);
    EXPECT_EQ(print(QStringLiteral("catalogue.obt"), pdf,
                    {QStringLiteral("--albums"), QStringLiteral("FFFF")})
                  .exitCode,
              1);
    EXPECT_EQ(runCli(m_home.path(), {QStringLiteral("print"), QStringLiteral("--pdf")}).exitCode,
              2);
    EXPECT_FALSE(QFileInfo::exists(pdf));
}
