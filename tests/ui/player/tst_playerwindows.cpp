#include "base/MessageIds.h"
#include "ScriptedQuestionPort.h"
#include "ui/player/TAboutForm.h"
#include "ui/player/TMovieForm.h"
#include "ui/player/TPositionForm.h"
#include "ui/player/TTimerForm.h"

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QMovie>
#include <QPlainTextEdit>
#include <QPointer>
#include <QScrollBar>
#include <QSet>
#include <QSignalSpy>
#include <QTest>

#include <gtest/gtest.h>

using namespace Orbisong;

namespace {

QDateTime fixedNow()
{
    return QDateTime(QDate(2026, 3, 14), QTime(21, 30, 0));
}

int colourCount(const QImage &image)
{
    QSet<QRgb> colours;
    for (int y = 0; y < image.height(); y += 3)
        for (int x = 0; x < image.width(); x += 3)
            colours.insert(image.pixel(x, y));
    return int(colours.size());
}

} // namespace

TEST(TimerForm, DelayAndClockTimeAreHandedOver)
{
    ScriptedQuestionPort questions;
    QPointer<TTimerForm> form = new TAutoplayForm({}, nullptr, &fixedNow);
    form->setQuestionPort(&questions);
    EXPECT_EQ(form->windowTitle(), QStringLiteral("Timer Play"));
    EXPECT_EQ(form->valueEdit()->text(), QStringLiteral("0"));
    QSignalSpy delay(form.data(), &TTimerForm::delayChosen);
    form->valueEdit()->clear();
    QTest::keyClicks(form->valueEdit(), QStringLiteral("45"));
    form->accept();
    ASSERT_EQ(delay.count(), 1);
    EXPECT_EQ(delay.at(0).at(0).toInt(), 45);

    QPointer<TTimerForm> stop = new TAutostopForm({}, nullptr, &fixedNow);
    stop->setQuestionPort(&questions);
    QSignalSpy time(stop.data(), &TTimerForm::timeChosen);
    stop->setType(1);
    EXPECT_FALSE(stop->valueEdit()->text().isEmpty());
    stop->valueEdit()->setText(QStringLiteral("22:15"));
    stop->accept();
    ASSERT_EQ(time.count(), 1);
    EXPECT_EQ(time.at(0).at(0).toDateTime(), QDateTime(QDate(2026, 3, 14), QTime(22, 15)));
    EXPECT_TRUE(questions.asked().isEmpty());
    delete form;
    delete stop;
}

TEST(TimerForm, InvalidEntriesAskAndKeepTheWindowButStoreTheScript)
{
    ScriptedQuestionPort questions;
    TAutostopForm form({}, nullptr, &fixedNow);
    form.setQuestionPort(&questions);
    QSignalSpy delay(&form, &TTimerForm::delayChosen);
    QSignalSpy script(&form, &TTimerForm::scriptChanged);
    form.show();
    form.valueEdit()->setText(QStringLiteral("ten"));
    form.scriptEdit()->setPlainText(QStringLiteral("procedure Main; beep; endproc;"));
    form.accept();
    EXPECT_EQ(delay.count(), 0);
    EXPECT_TRUE(form.isVisible());
    ASSERT_EQ(questions.asked().size(), 1);
    EXPECT_EQ(questions.asked().at(0).id, Msg::InvalidInteger);
    ASSERT_EQ(script.count(), 1);
    EXPECT_EQ(script.at(0).at(0).toString(), QStringLiteral("procedure Main; beep; endproc;"));

    form.setType(1);
    form.valueEdit()->setText(QStringLiteral("25:99"));
    form.accept();
    EXPECT_EQ(questions.asked().at(1).id, Msg::InvalidTime);
}

TEST(TimerForm, DefaultScriptIsStoredEmpty)
{
    EXPECT_TRUE(TTimerForm::storedScript(TTimerForm::defaultScript()).isEmpty());
    EXPECT_TRUE(
        TTimerForm::storedScript(
            QStringLiteral("PROCEDURE   main;\t// enter CODE for this event here.\nENDPROC;"))
            .isEmpty());
    EXPECT_FALSE(TTimerForm::storedScript(QStringLiteral("procedure Main; endproc;")).isEmpty());
    TAutoplayForm blank(QStringLiteral("   \n"), nullptr, &fixedNow);
    EXPECT_EQ(blank.scriptEdit()->toPlainText(), TTimerForm::defaultScript());
}

TEST(AboutForm, PictureDecodedForTheDisplayDepth)
{
    const QImage full = TAboutForm::loadPicture(32);
    ASSERT_FALSE(full.isNull());
    EXPECT_GT(full.width(), 100);
    EXPECT_GT(colourCount(full), 256);
    const QImage reduced = TAboutForm::loadPicture(16);
    EXPECT_EQ(reduced.format(), QImage::Format_Indexed8);
    EXPECT_LE(reduced.colorCount(), 256);
    EXPECT_EQ(reduced.size(), full.size());
    EXPECT_LE(TAboutForm::loadPicture(4).colorCount(), 8);

    QPointer<TAboutForm> about = new TAboutForm;
    about->show();
    EXPECT_FALSE(about->picture()->pixmap().isNull());
    about->close();
    QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(about.isNull()) << "the window frees itself";
}

TEST(PositionForm, LabelFollowsScrollAndEndJumpsOn)
{
    QPointer<TPositionForm> form =
        new TPositionForm(200, 30, [](int s) { return QStringLiteral("at %1").arg(s); });
    EXPECT_EQ(form->scroll()->maximum(), 200);
    EXPECT_EQ(form->label()->text(), QStringLiteral("at 30"));
    form->scroll()->setValue(45);
    EXPECT_EQ(form->label()->text(), QStringLiteral("at 45"));
    QSignalSpy chosen(form.data(), &TPositionForm::positionChosen);
    form->show();
    form->scroll()->triggerAction(QAbstractSlider::SliderToMaximum);
    ASSERT_EQ(chosen.count(), 1);
    EXPECT_EQ(chosen.at(0).at(0).toInt(), 200);
    EXPECT_TRUE(chosen.at(0).at(1).toBool());

    TPositionForm tiny(0, -5, [](int s) { return QString::number(s); });
    EXPECT_EQ(tiny.scroll()->maximum(), 0);
    EXPECT_EQ(tiny.scroll()->value(), 0);
}

TEST(MovieForm, CentredOverOwnerAndNotClosedByTheUser)
{
    TMovieForm *form = TMovieForm::Show(QRect(100, 100, 600, 400), QStringLiteral("AVI_STATS"),
                                        QStringLiteral("Please wait"));
    EXPECT_EQ(form->pos(),
              QPoint(100 + (600 - form->width()) / 2, 100 + (400 - form->height()) / 2));
    EXPECT_EQ(form->text(), QStringLiteral("Please wait"));
    EXPECT_TRUE(form->movie()->isValid());
    EXPECT_EQ(form->movie()->state(), QMovie::Running);
    form->close();
    EXPECT_TRUE(form->isVisible());
    TMovieForm::Hide(form);
    EXPECT_FALSE(form->isVisible());
    for (const char *name : {"AVI_PLAY", "AVI_RCDDB_GET", "AVI_STATS"})
        EXPECT_TRUE(QMovie(AnimationResource(QString::fromLatin1(name))).isValid()) << name;
}
