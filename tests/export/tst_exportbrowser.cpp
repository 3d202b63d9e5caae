// The shipped HTML template as a browser shows it: the demo collection exported and opened
// in headless Chromium, which must report no console message, and every link between the
// generated pages must lead to a generated page and anchor.

#include "ExportFixture.h"

#include "base/AppPaths.h"

#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QUrl>

#include <gtest/gtest.h>

namespace {

const QString Chromium = QStringLiteral("/usr/bin/chromium");

struct BrowserRun
{
    QByteArray out;
    QByteArray err;
};

BrowserRun runChromium(const QStringList &arguments)
{
    QTemporaryDir profile;
    QProcess chromium;
    chromium.start(Chromium,
                   QStringList{"--headless", "--no-sandbox", "--disable-gpu", "--disable-quic",
                               "--no-first-run", "--disable-background-networking",
                               "--disable-component-update", "--disable-sync",
                               "--user-data-dir=" + profile.path(), "--enable-logging=stderr",
                               "--v=0"} +
                       arguments);
    chromium.waitForFinished(180000);
    return {chromium.readAllStandardOutput(), chromium.readAllStandardError()};
}

QStringList consoleLines(const QByteArray &log)
{
    QStringList lines;
    for (const QByteArray &line : log.split('\n')) {
        if (line.contains("CONSOLE"))
            lines.append(QString::fromUtf8(line));
    }
    return lines;
}

// Every relative link of the generated pages that does not lead to a generated page, or to
// an anchor that page lacks.
QStringList brokenLinks(const QString &folder)
{
    static const QRegularExpression href(QStringLiteral("href=\"([^\"]*)\""));
    static const QRegularExpression id(QStringLiteral("id=\"([^\"]*)\""));
    const QStringList pages = filesIn(folder);
    QHash<QString, QSet<QString>> anchors;
    QHash<QString, QString> texts;
    for (const QString &page : pages) {
        texts[page] = QString::fromUtf8(readFile(folder + QLatin1Char('/') + page));
        for (const auto &m : id.globalMatch(texts[page]))
            anchors[page].insert(m.captured(1));
    }
    QStringList broken;
    for (const QString &page : pages) {
        for (const auto &m : href.globalMatch(texts[page])) {
            QString link = m.captured(1);
            link.replace(QStringLiteral("&amp;"), QStringLiteral("&"));
            const QUrl url(link);
            if (!url.scheme().isEmpty())
                continue;
            const QString target = url.path().isEmpty() ? page : url.path();
            const bool ok = pages.contains(target) &&
                            (!url.hasFragment() || anchors[target].contains(url.fragment()));
            if (!ok)
                broken.append(page + QStringLiteral(" -> ") + link);
        }
    }
    return broken;
}

} // namespace

TEST(ExportBrowser, ShowsTheDemoCollectionWithoutErrors)
{
    if (!QFile::exists(Chromium))
        GTEST_SKIP() << "no Chromium at /usr/bin/chromium";
    ExportFixture f;
    const QString site = f.folder(QStringLiteral("site"));
    const QString shipped =
        Orbisong::AppPaths::shippedFile(QStringLiteral("templates/collection.obt"));
    const Orbisong::ExportResult result = f.exportHtml(shipped, site);
    ASSERT_TRUE(result.succeeded()) << result.error.toStdString();
    ASSERT_EQ(filesIn(site).size(), 6);

    EXPECT_TRUE(
        readFile(site + QStringLiteral("/index.html")).contains("href=\"1000000000001.html\""));
    EXPECT_EQ(brokenLinks(site), QStringList());

    const QString screenshots = TestHome::binaryDir() + QStringLiteral("/screenshots");
    QDir().mkpath(screenshots);
    const QString picture = screenshots + QStringLiteral("/export.png");
    QFile::remove(picture);
    const BrowserRun index =
        runChromium({"--screenshot=" + picture, "--window-size=1200,900",
                     QUrl::fromLocalFile(site + QStringLiteral("/index.html")).toString()});
    EXPECT_TRUE(QFile::exists(picture)) << index.err.toStdString();
    EXPECT_EQ(consoleLines(index.err), QStringList());

    // The album whose title is a script tag shows it as text: the page runs no script.
    const BrowserRun album =
        runChromium({"--dump-dom",
                     QUrl::fromLocalFile(site + QStringLiteral("/3000000000003.html")).toString()});
    EXPECT_EQ(consoleLines(album.err), QStringList());
    EXPECT_TRUE(album.out.contains("&lt;script&gt;alert(\"x\")&lt;/script&gt;"));
    EXPECT_FALSE(album.out.contains("<script"));
}
