// The layering of the source tree, checked on the includes themselves: every include names its
// folder, so a rule "this room never reaches into that one" is a plain text search.

#include "TestHome.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QRegularExpression>

#include <gtest/gtest.h>

namespace {

QString sourceRoot()
{
    return TestHome::sourceDir();
}

struct Include
{
    QString file;
    int line;
    QString target;
};

// Every quoted include of the C++ files under `folder` (relative to the source root).
QList<Include> includesUnder(const QString &folder)
{
    static const QRegularExpression includeLine(
        QStringLiteral(R"re(^\s*#\s*include\s+"([^"]+)")re"));
    QList<Include> found;
    const QString root = QDir(sourceRoot()).filePath(folder);
    QDirIterator it(root, {QStringLiteral("*.cpp"), QStringLiteral("*.h"), QStringLiteral("*.c")},
                    QDir::Files, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        QFile file(path);
        if (!file.open(QIODevice::ReadOnly))
            continue;
        int number = 0;
        while (!file.atEnd()) {
            const QString text = QString::fromUtf8(file.readLine());
            ++number;
            const QRegularExpressionMatch match = includeLine.match(text);
            if (match.hasMatch())
                found.append(
                    {QDir(sourceRoot()).relativeFilePath(path), number, match.captured(1)});
        }
    }
    return found;
}

// The includes under `folders` that reach into any of `forbidden` ("app/" and the like).
QStringList violations(const QStringList &folders, const QStringList &forbidden)
{
    QStringList bad;
    for (const QString &folder : folders) {
        for (const Include &include : includesUnder(folder)) {
            for (const QString &prefix : forbidden) {
                if (include.target.startsWith(prefix))
                    bad.append(QStringLiteral("%1:%2: %3")
                                   .arg(include.file)
                                   .arg(include.line)
                                   .arg(include.target));
            }
        }
    }
    return bad;
}

const QStringList Engines = {QStringLiteral("src/base"), QStringLiteral("src/collection"),
                             QStringLiteral("src/cddb"), QStringLiteral("src/playback"),
                             QStringLiteral("src/net"),  QStringLiteral("src/script")};

const QStringList SourceRooms = {QStringLiteral("app/"),        QStringLiteral("base/"),
                                 QStringLiteral("cddb/"),       QStringLiteral("cli/"),
                                 QStringLiteral("collection/"), QStringLiteral("net/"),
                                 QStringLiteral("playback/"),   QStringLiteral("player/"),
                                 QStringLiteral("script/"),     QStringLiteral("ui/")};

} // namespace

TEST(IncludeRules, TheTreeIsWhereTheRulesLook)
{
    ASSERT_FALSE(sourceRoot().isEmpty());
    for (const QString &folder : Engines)
        EXPECT_FALSE(includesUnder(folder).isEmpty()) << folder.toStdString();
}

TEST(IncludeRules, EnginesKnowNoStartUpPlayerOrWindow)
{
    const QStringList bad = violations(
        Engines, {QStringLiteral("app/"), QStringLiteral("ui/"), QStringLiteral("player/")});
    EXPECT_TRUE(bad.isEmpty()) << bad.join(u'\n').toStdString();
}

TEST(IncludeRules, TheBaseUsesNoEngine)
{
    const QStringList bad = violations({QStringLiteral("src/base")},
                                       {QStringLiteral("collection/"), QStringLiteral("cddb/"),
                                        QStringLiteral("playback/"), QStringLiteral("net/"),
                                        QStringLiteral("script/"), QStringLiteral("cli/")});
    EXPECT_TRUE(bad.isEmpty()) << bad.join(u'\n').toStdString();
}

TEST(IncludeRules, TheDeviceLayerKnowsNoLookups)
{
    const QStringList bad = violations({QStringLiteral("src/playback")}, {QStringLiteral("cddb/")});
    EXPECT_TRUE(bad.isEmpty()) << bad.join(u'\n').toStdString();
}

TEST(IncludeRules, ThePlayerCoreAndTheCommandLineKnowNoWindow)
{
    const QStringList bad = violations({QStringLiteral("src/player"), QStringLiteral("src/cli")},
                                       {QStringLiteral("ui/"), QStringLiteral("app/")});
    EXPECT_TRUE(bad.isEmpty()) << bad.join(u'\n').toStdString();
}

TEST(IncludeRules, TheScriptEngineStaysEmbeddable)
{
    const QStringList bad =
        violations({QStringLiteral("src/script")}, {QStringLiteral("collection/")});
    EXPECT_TRUE(bad.isEmpty()) << bad.join(u'\n').toStdString();
}

TEST(IncludeRules, CompanionsShareNothingWithThePlayer)
{
    const QStringList bad =
        violations({QStringLiteral("setup"), QStringLiteral("grabvid"), QStringLiteral("ks32dll")},
                   SourceRooms);
    EXPECT_TRUE(bad.isEmpty()) << bad.join(u'\n').toStdString();
}

TEST(IncludeRules, IncludesOfTheSourceTreeNameTheirFolder)
{
    // A bare name would only resolve through a folder's own include path, which no target
    // exports; catching it here names the file instead of a distant build error.
    QStringList bare;
    for (const Include &include : includesUnder(QStringLiteral("src"))) {
        if (!include.target.contains(u'/'))
            bare.append(QStringLiteral("%1:%2: %3")
                            .arg(include.file)
                            .arg(include.line)
                            .arg(include.target));
    }
    EXPECT_TRUE(bare.isEmpty()) << bare.join(u'\n').toStdString();
}
