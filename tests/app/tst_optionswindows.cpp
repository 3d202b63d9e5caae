// The Options window opened from the running player, and its settings reaching the player.

#include "app/OptionsWindows.h"
#include "app/SetupWindows.h"
#include "app/StartupSequence.h"
#include "playback/DiscImageWriter.h"
#include "TestHome.h"
#include "ui/options/TOptionsForm.h"
#include "ui/player/TPlayerForm.h"

#include <QCheckBox>
#include <QElapsedTimer>
#include <QPushButton>
#include <QTabWidget>
#include <QTest>

#include <gtest/gtest.h>

using namespace Orbisong;

namespace {

template <typename Predicate> bool waitFor(Predicate done, int ms = 15000)
{
    QElapsedTimer waited;
    waited.start();
    while (!done() && waited.elapsed() < ms)
        QTest::qWait(20);
    return done();
}

} // namespace

TEST(OptionsWindows, PlayersOptionsCommandOpensOneWindowWhoseSettingsReachThePlayer)
{
    qputenv("ORBISONG_AUDIO_SINK", "fakesink sync=true");
    TestHome home;
    DiscImageWriter writer;
    writer.addSilentTrack(75 * 20);
    const QString cue = home.file(QStringLiteral("disc.cue"));
    ASSERT_TRUE(writer.write(cue));
    StartupSequence startup(QStringList{cue});
    ASSERT_TRUE(startup.start());
    // The first start opens the setup wizard, which holds the player's float setting back.
    SetupWindows *setup = startup.setupWindows();
    ASSERT_TRUE(waitFor([&] { return setup->setupWizard() != nullptr; }));
    setup->setupWizard()->reject();

    TPlayerForm *player = startup.player();
    OptionsWindows *options = startup.optionsWindows();
    EXPECT_EQ(options->optionsForm(), nullptr);
    emit player->optionsRequested();
    TOptionsForm *form = options->optionsForm();
    ASSERT_NE(form, nullptr);
    EXPECT_TRUE(form->isVisible());
    EXPECT_FALSE(form->isModal());
    EXPECT_EQ(form->pages()->currentIndex(), 0);
    EXPECT_EQ(options->showOptions(TOptionsForm::SendingPage), form);
    EXPECT_EQ(form->pages()->currentIndex(), int(TOptionsForm::SendingPage));

    EXPECT_FALSE(player->windowFlags().testFlag(Qt::WindowStaysOnTopHint));
    form->flagBox(_GLOB_OPTION_STAYONTOP)->setChecked(true);
    form->applyButton()->click();
    EXPECT_TRUE(player->windowFlags().testFlag(Qt::WindowStaysOnTopHint));
    form->flagBox(_GLOB_OPTION_STAYONTOP)->setChecked(false);
    form->accept();
    EXPECT_FALSE(player->windowFlags().testFlag(Qt::WindowStaysOnTopHint));
    ASSERT_TRUE(waitFor([&] { return options->optionsForm() == nullptr; }));
}
