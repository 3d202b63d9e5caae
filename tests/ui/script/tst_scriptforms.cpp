#include "TestHome.h"

#include "player/EventScriptRunner.h"
#include "ui/script/TQLNBitBtn.h"
#include "ui/script/TQLNCheckBox.h"
#include "ui/script/TQLNEdit.h"
#include "ui/script/TQLNForm.h"
#include "ui/script/TQLNStatic.h"
#include "ui/script/WindowDialogs.h"
#include "ui/script/WindowHostPort.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QPushButton>
#include <QTimer>

#include <functional>

#include <gtest/gtest.h>

using namespace Orbisong;

namespace {

// Calls `act` once `ready` holds, polling the event loop the modal window runs.
void when(std::function<bool()> ready, std::function<void()> act)
{
    auto *poll = new QTimer;
    poll->setInterval(5);
    QObject::connect(poll, &QTimer::timeout, [poll, ready, act] {
        if (ready()) {
            poll->stop();
            poll->deleteLater();
            act();
        }
    });
    poll->start();
}

TQLNForm *shownForm()
{
    return qobject_cast<TQLNForm *>(QApplication::activeModalWidget());
}

template <typename T> T *control(TQLNForm *form, int number)
{
    for (T *widget : form->findChildren<T *>()) {
        if (widget->controlId() == number + 102)
            return widget;
    }
    return nullptr;
}

QPushButton *closeButton(TQLNForm *form, const QString &text)
{
    for (QPushButton *button : form->findChildren<QPushButton *>()) {
        if (button->text() == text)
            return button;
    }
    return nullptr;
}

// Runs the shipped example as an event script with the player's windows; `drive` acts on the
// shown window. Returns what the script wrote.
QString runExample(const std::function<void(TQLNForm *)> &drive)
{
    QFile file(TestHome::sourceDir() + QStringLiteral("/data/scripts/examples/form.qs"));
    EXPECT_TRUE(file.open(QIODevice::ReadOnly));
    WindowHostPort host;
    host.setStatusSink([](const QString &, int) {});
    host.setIconSink([](const QPixmap &) {});
    host.setWebLinks([] { return QStringList(); });
    WindowDialogs dialogs;
    EventScriptRunner runner(host);
    runner.setInteractivePort(&dialogs);
    QString output;
    runner.setOutput([&](const QString &text) { output += text; });
    when([] { return shownForm() != nullptr; }, [&] { drive(shownForm()); });
    const EventRun run =
        runner.fire(QStringLiteral("On_TimerPlay"), QString::fromUtf8(file.readAll()), {});
    EXPECT_EQ(run.outcome, EventRun::Ran) << run.text.toStdString();
    return output.trimmed();
}

} // namespace

TEST(ScriptFormWindows, TheWindowShowsTheControlsWhereTheScriptPutThem)
{
    const QString output = runExample([](TQLNForm *form) {
        EXPECT_EQ(form->windowTitle(), QStringLiteral("Who is listening?"));
        EXPECT_EQ(form->size(), QSize(330, 150));
        TQLNStatic *label = control<TQLNStatic>(form, 1);
        TQLNEdit *edit = control<TQLNEdit>(form, 2);
        TQLNCheckBox *box = control<TQLNCheckBox>(form, 3);
        TQLNBitBtn *greet = control<TQLNBitBtn>(form, 4);
        ASSERT_TRUE(label && edit && box && greet);
        EXPECT_EQ(edit->geometry(), QRect(10, 36, 200, 24));
        EXPECT_EQ(edit->text(), QStringLiteral("Anna"));
        EXPECT_FALSE(box->isChecked());
        QPushButton *ok = closeButton(form, QStringLiteral("OK"));
        QPushButton *cancel = closeButton(form, QStringLiteral("Cancel"));
        ASSERT_TRUE(ok && cancel);
        EXPECT_EQ(ok->geometry(), QRect(240, 10, 80, 24));
        EXPECT_EQ(cancel->geometry(), QRect(240, 40, 80, 24));

        // The button's routine runs in the script and changes the label and the check box.
        edit->setText(QStringLiteral("Bob"));
        greet->click();
        when([label] { return label->text() == QStringLiteral("Hello, Bob!"); },
             [form, box, ok] {
                 EXPECT_TRUE(box->isChecked());
                 QDir out(TestHome::binaryDir());
                 out.mkpath(QStringLiteral("screenshots"));
                 EXPECT_TRUE(form->grab().save(
                     out.filePath(QStringLiteral("screenshots/script-form.png"))));
                 ok->click();
             });
    });
    EXPECT_EQ(output, QStringLiteral("OK: Bob, loud"));
}

TEST(ScriptFormWindows, OkWritesTheValuesBackAndCancelLeavesThem)
{
    const auto fill = [](const QString &close) {
        return [close](TQLNForm *form) {
            control<TQLNEdit>(form, 2)->setText(QStringLiteral("Eve"));
            control<TQLNCheckBox>(form, 3)->click();
            closeButton(form, close)->click();
        };
    };
    EXPECT_EQ(runExample(fill(QStringLiteral("OK"))), QStringLiteral("OK: Eve, loud"));
    EXPECT_EQ(runExample(fill(QStringLiteral("Cancel"))), QStringLiteral("Cancelled: Anna, quiet"));
}
