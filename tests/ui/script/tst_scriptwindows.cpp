#include "SilentScriptHost.h"
#include "TestFiles.h"
#include "TestHome.h"

#include "collection/Collection.h"
#include "collection/Settings.h"
#include "ui/album/TAlbumPropertiesForm.h"
#include "ui/script/ScriptEditor.h"

#include "player/EventScriptRunner.h"
#include "ui/script/DesktopWallpaper.h"
#include "ui/script/WindowDialogs.h"
#include "ui/script/WindowHostPort.h"

#include <QApplication>
#include <QDialogButtonBox>
#include <QDir>
#include <QImage>
#include <QInputDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTabWidget>
#include <QTextBlock>
#include <QTextLayout>
#include <QTimer>

#include <functional>

#include <gtest/gtest.h>

using namespace Orbisong;

namespace {

// Acts on the next modal window once it is shown.
void onModal(std::function<void(QWidget *)> act)
{
    auto *poll = new QTimer;
    poll->setInterval(5);
    QObject::connect(poll, &QTimer::timeout, [poll, act] {
        if (QWidget *modal = QApplication::activeModalWidget()) {
            poll->stop();
            poll->deleteLater();
            act(modal);
        }
    });
    poll->start();
}

void press(QWidget *modal, QMessageBox::StandardButton button)
{
    auto *box = qobject_cast<QMessageBox *>(modal);
    ASSERT_NE(box, nullptr);
    box->button(button)->click();
}

struct Calls
{
    QStringList lines;
    QString listing;
    DesktopWallpaper::Runner runner()
    {
        return [this](const QString &program, const QStringList &arguments, QString *output) {
            lines << (QStringList{program} + arguments).join(QLatin1Char(' '));
            if (output)
                *output = listing;
            return true;
        };
    }
};

} // namespace

TEST(ScriptWindows, TheWallpaperGoesThroughTheDesktopsOwnSetting)
{
    Calls gnome;
    EXPECT_TRUE(DesktopWallpaper(QStringLiteral("ubuntu:GNOME"), gnome.runner())
                    .set(QStringLiteral("/pics/sky.png"))
                    .isEmpty());
    EXPECT_EQ(gnome.lines, QStringList({QStringLiteral("gsettings set org.gnome.desktop.background "
                                                       "picture-uri file:///pics/sky.png"),
                                        QStringLiteral("gsettings set org.gnome.desktop.background "
                                                       "picture-uri-dark file:///pics/sky.png")}));

    Calls kde;
    EXPECT_TRUE(DesktopWallpaper(QStringLiteral("KDE"), kde.runner())
                    .set(QStringLiteral("/a b.png"))
                    .isEmpty());
    EXPECT_EQ(kde.lines, QStringList{QStringLiteral("plasma-apply-wallpaperimage /a b.png")});

    Calls xfce;
    xfce.listing = QStringLiteral("/backdrop/screen0/monitor0/workspace0/last-image\n"
                                  "/backdrop/screen0/monitor0/workspace0/color-style\n"
                                  "/backdrop/screen0/monitor1/workspace0/last-image\n");
    EXPECT_TRUE(DesktopWallpaper(QStringLiteral("XFCE"), xfce.runner())
                    .set(QStringLiteral("/p.jpg"))
                    .isEmpty());
    EXPECT_EQ(xfce.lines.size(), 3);
    EXPECT_EQ(xfce.lines.at(1), QStringLiteral("xfconf-query -c xfce4-desktop -p "
                                               "/backdrop/screen0/monitor0/workspace0/last-image "
                                               "-s /p.jpg"));

    Calls other;
    const QString failure =
        DesktopWallpaper(QStringLiteral("Sway"), other.runner()).set(QStringLiteral("/p.jpg"));
    EXPECT_TRUE(failure.contains(QStringLiteral("SWAY")));
    EXPECT_TRUE(other.lines.isEmpty());
}

TEST(ScriptWindows, MessageBoxesAnswerWithTheButtonIdentifiers)
{
    WindowDialogs dialogs;
    onModal([](QWidget *modal) { press(modal, QMessageBox::No); });
    EXPECT_EQ(dialogs.messageBox(QStringLiteral("Sure?"), QStringLiteral("Ask"), 0x24), 7);
    onModal([](QWidget *modal) { press(modal, QMessageBox::Cancel); });
    EXPECT_EQ(dialogs.messageBox(QStringLiteral("Go?"), QStringLiteral("Ask"), 0x01), 2);

    onModal([](QWidget *modal) {
        auto *input = qobject_cast<QInputDialog *>(modal);
        ASSERT_NE(input, nullptr);
        input->setTextValue(QStringLiteral("Lena"));
        input->accept();
    });
    QString text;
    EXPECT_TRUE(dialogs.answer(QStringLiteral("Who?"), &text));
    EXPECT_EQ(text, QStringLiteral("Lena"));

    onModal([](QWidget *modal) {
        auto *input = qobject_cast<QInputDialog *>(modal);
        ASSERT_NE(input, nullptr);
        input->setTextValue(QStringLiteral("two"));
        input->accept();
    });
    EXPECT_EQ(
        dialogs.choose(QStringLiteral("Which?"), {QStringLiteral("one"), QStringLiteral("two")}, 0),
        1);
    onModal([](QWidget *modal) { qobject_cast<QDialog *>(modal)->reject(); });
    EXPECT_EQ(dialogs.choose(QStringLiteral("Which?"), {QStringLiteral("one")}, 0), -1);
}

// The whole path of a player's script: a script thread asks, the window answers.
TEST(ScriptWindows, AnEventScriptsInputBoxIsAWindowOfThePlayer)
{
    TestHome home;
    const QString iconPath = home.file(QStringLiteral("note.png"));
    QImage picture(16, 16, QImage::Format_ARGB32);
    picture.fill(Qt::red);
    ASSERT_TRUE(picture.save(iconPath));

    WindowHostPort host;
    QStringList status;
    QList<bool> icons;
    host.setStatusSink([&](const QString &text, int seconds) {
        status << text + QLatin1Char('/') + QString::number(seconds);
    });
    host.setIconSink([&](const QPixmap &p) { icons << !p.isNull(); });
    host.setWebLinks([] { return QStringList(); });
    EventScriptRunner runner(host);

    onModal([](QWidget *modal) {
        auto *input = qobject_cast<QInputDialog *>(modal);
        ASSERT_NE(input, nullptr);
        EXPECT_EQ(input->windowTitle(), QStringLiteral("Script Input"));
        input->setTextValue(QStringLiteral("typed"));
        input->accept();
    });
    const QString script =
        QStringLiteral("procedure Main\n  StatusMessage(InputBox('Name?', 'x'), 4)\n"
                       "  Weblink(1)\n  SetIcon('%1', 0)\n  SetIcon('/nothing/here.ico', 0)\n"
                       "endproc\n")
            .arg(iconPath);
    const EventRun run = runner.fire(QStringLiteral("On_TimerPlay"), script, {});
    EXPECT_EQ(run.outcome, EventRun::Ran) << run.text.toStdString();
    EXPECT_EQ(status, QStringList{QStringLiteral("typed/4")});
    EXPECT_EQ(icons, QList<bool>({true, false}));
}

namespace {

// The format the highlighter gave the character at `column` of `line` (both 0-based).
QTextCharFormat formatAt(ScriptEditor &editor, int line, int column)
{
    const QTextBlock block = editor.document()->findBlockByNumber(line);
    for (const QTextLayout::FormatRange &range : block.layout()->formats()) {
        if (column >= range.start && column < range.start + range.length)
            return range.format;
    }
    return {};
}

} // namespace

TEST(ScriptWindows, TheEditorColoursKeywordsStringsAndRemarks)
{
    ScriptEditor editor;
    editor.setPlainText(QStringLiteral("procedure Main // start\n  x := 'if' { a\nremark }\n"
                                       "endproc\n"));
    editor.show();
    const QTextCharFormat keyword = formatAt(editor, 0, 0);
    EXPECT_EQ(keyword.fontWeight(), QFont::Bold);
    EXPECT_EQ(formatAt(editor, 0, 10).fontWeight(), QFont::Normal); // a routine name
    EXPECT_TRUE(formatAt(editor, 0, 16).fontItalic());              // the remark
    const QTextCharFormat string = formatAt(editor, 1, 8);
    EXPECT_TRUE(string.hasProperty(QTextFormat::ForegroundBrush));
    EXPECT_NE(string.fontWeight(), QFont::Bold);      // "if" inside a string is no keyword
    EXPECT_TRUE(formatAt(editor, 2, 0).fontItalic()); // the brace remark goes on
    EXPECT_EQ(formatAt(editor, 3, 0).fontWeight(), QFont::Bold);

    editor.markErrorLine(2);
    EXPECT_EQ(editor.errorLine(), 2);
    EXPECT_EQ(editor.textCursor().blockNumber(), 1);
    editor.markErrorLine(99);
    EXPECT_EQ(editor.errorLine(), 0);
    editor.markErrorLine(3);
    editor.insertPlainText(QStringLiteral(" "));
    EXPECT_EQ(editor.errorLine(), 0);
}

// The properties window's script page after a run of its script failed.
TEST(ScriptWindows, ThePropertiesWindowMarksTheLineOfAFailedRun)
{
    TestHome home;
    const QString path = home.file(QStringLiteral("ann.obc"));
    writeFile(path, "<0A1B2C0212345>\r\n [Album]\r\n  ID=0A1B2C0212345\r\n  TL=Songs\r\n"
                    "  AR=Band\r\n [Media]\r\n  MD=65537\r\n [Tracks]\r\n  CT=2\r\n"
                    " [Events]\r\n  AE[1]=// Greets the album.\\nprocedure Main\\n"
                    "  StatusMessage('Now playing ' + Title, 5)\\n"
                    "  Execute('https://example.org/band')\\nendproc\r\n");
    Settings settings = Settings::defaults(home.path(), QStringLiteral("ann"), QString());
    Collection collection(settings, path);
    collection.BuildAlbumIndex();
    TAlbumPropertiesForm form(collection, QStringLiteral("0A1B2C0212345"), {});
    form.resize(560, 420);
    form.show();
    QTabWidget *tabs = form.pages();
    for (int i = 0; i < tabs->count(); ++i) {
        if (tabs->tabText(i) == QStringLiteral("Scripts"))
            tabs->setCurrentIndex(i);
    }
    auto *editor = form.findChild<ScriptEditor *>(QStringLiteral("ScriptEdit"));
    ASSERT_NE(editor, nullptr);

    SilentScriptHost host;
    EventScriptRunner runner(host);
    const EventRun run = runner.fire(QStringLiteral("On_AlbumInsert"), editor->toPlainText(), {});
    ASSERT_EQ(run.outcome, EventRun::Failed);
    EXPECT_EQ(run.line, 3);
    editor->markErrorLine(run.line);
    EXPECT_EQ(editor->errorLine(), 3);

    QDir out(TestHome::binaryDir());
    out.mkpath(QStringLiteral("screenshots"));
    EXPECT_TRUE(form.grab().save(out.filePath(QStringLiteral("screenshots/script-editor.png"))));
}
