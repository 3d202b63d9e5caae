#include "app/PlaylistWindows.h"
#include "base/MessageIds.h"
#include "collection/PlaylistRules.h"
#include "ScriptedEngineFixture.h"
#include "ScriptedQuestionPort.h"
#include "ui/player/PlayerListControl.h"
#include "ui/player/PlayerMenus.h"
#include "ui/player/TPlayerForm.h"
#include "ui/player/TPlaylistList.h"
#include "ui/playlist/TPlaylistForm.h"
#include "ui/playlist/TPlaylistWizard.h"
#include "ui/playlist/TrackPicker.h"
#include "ui/playlist/TStepPropertiesForm.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSlider>
#include <QSpinBox>
#include <QTabBar>
#include <QTabWidget>
#include <QTest>

#include <gtest/gtest.h>

using namespace Orbisong;

namespace {

class PlaylistWindowsTest : public ScriptedEngineFixture
{
protected:
    void SetUp() override
    {
        ScriptedEngineFixture::SetUp();
        player = std::make_unique<TPlayerForm>(settings);
        player->setQuestionPort(&questions);
        player->setEngine(engine.get());
        windows = std::make_unique<PlaylistWindows>(player.get(), engine.get(), &questions);
        windows->setShuffleSeed(7);
        player->show();
        drive->insert(fourTracks());
        player->driveTick();
        QApplication::processEvents();
        ASSERT_TRUE(engine->audioPresent());
    }

    void TearDown() override
    {
        windows.reset();
        player.reset();
        ScriptedEngineFixture::TearDown();
    }

    QAbstractButton *button(const char *name)
    {
        return player->findChild<QAbstractButton *>(QString::fromLatin1(name));
    }

    QAction *menuAction(QMenu *menu, const QString &text)
    {
        for (QAction *action : menu->actions()) {
            if (action->text() == text)
                return action;
        }
        return nullptr;
    }

    QMenu *playlistMenu()
    {
        for (QAction *action : player->menuBar()->actions()) {
            if (action->text() == QStringLiteral("&Playlist"))
                return action->menu();
        }
        return nullptr;
    }

    PlayerMenus *menus() { return player->findChild<PlayerMenus *>(); }

    void addPlaylist(const QString &title, const QList<int> &tracks)
    {
        auto playlist = std::make_shared<TPlaylist>(title);
        for (int track : tracks) {
            const DiscInfo &disc = engine->current().disc;
            playlist->steps.append(TStep({}, disc.trackOffsets[std::size_t(track)],
                                         disc.trackOffsets[std::size_t(track + 1)]));
        }
        engine->current().playlists.append(playlist);
    }

    void makeCurrent(const QString &title)
    {
        engine->setCurrentPlaylist(title);
        player->refreshAll();
    }

    static void screenshot(QWidget *window, const QString &name)
    {
        const QString out = QDir(TestHome::binaryDir()).filePath(QStringLiteral("screenshots"));
        QDir().mkpath(out);
        EXPECT_TRUE(window->grab().save(QDir(out).filePath(name)));
    }

    ScriptedQuestionPort questions;
    std::unique_ptr<TPlayerForm> player;
    std::unique_ptr<PlaylistWindows> windows;
};

} // namespace

TEST_F(PlaylistWindowsTest, WizardChecksTheTitleAndAddsTheChosenTracks)
{
    addPlaylist(QStringLiteral("New Playlist"), {1});
    addPlaylist(QStringLiteral("New Playlist 1"), {2});
    addPlaylist(QStringLiteral("Favorites"), {3});
    button("AddButton")->click();
    TPlaylistWizard *wizard = windows->wizard();
    ASSERT_TRUE(wizard);
    EXPECT_TRUE(wizard->isVisible());
    EXPECT_EQ(wizard->titleEdit()->text(), QStringLiteral("New Playlist 2"));
    EXPECT_EQ(wizard->windowTitle(), QStringLiteral("Add New Playlist - Step 1 of 5"));

    for (const char *refused : {"tracks", "favorites", "a]b", "  "}) {
        wizard->titleEdit()->setText(QString::fromLatin1(refused));
        wizard->nextButton()->click();
        EXPECT_EQ(wizard->windowTitle(), QStringLiteral("Add New Playlist - Step 1 of 5"))
            << refused;
    }
    ASSERT_EQ(questions.asked().size(), 4);
    EXPECT_EQ(questions.asked().at(0).id, Msg::ReservedPlaylistTitle);
    EXPECT_EQ(questions.asked().at(0).texts.value(0), QStringLiteral("tracks"));
    EXPECT_EQ(questions.asked().at(1).id, Msg::PlaylistTitleInUse);
    EXPECT_EQ(questions.asked().at(2).id, Msg::ReservedPlaylistTitle);
    EXPECT_EQ(questions.asked().at(3).id, Msg::ReservedPlaylistTitle);

    // Nothing was ever played: only the list is offered.
    wizard->titleEdit()->setText(QStringLiteral(" Road Trip "));
    wizard->nextButton()->click();
    EXPECT_FALSE(wizard->favoritesChoice()->isEnabled());
    EXPECT_FALSE(wizard->favoritesCount()->isEnabled());
    EXPECT_TRUE(wizard->manualChoice()->isChecked());
    wizard->nextButton()->click();
    TrackPicker *picker = wizard->picker();
    EXPECT_EQ(picker->available()->count(), 4);
    picker->insertTracks({4}, -1);
    picker->insertTracks({2, 3}, 0);
    picker->chosen()->setCurrentRow(1, QItemSelectionModel::ClearAndSelect);
    QTest::keyClick(picker->chosen(), Qt::Key_Delete);
    EXPECT_EQ(wizard->tracks(), QList<int>({2, 4}));
    wizard->resize(520, 380);
    screenshot(wizard, QStringLiteral("playlist-wizard.png"));
    wizard->nextButton()->click();
    wizard->nextButton()->click();
    EXPECT_TRUE(wizard->finishButton()->isVisible());
    wizard->finishButton()->click();
    QApplication::processEvents();

    EXPECT_EQ(engine->currentPlaylist(), QStringLiteral("Road Trip"));
    ASSERT_EQ(engine->list().size(), 2);
    EXPECT_EQ(engine->list().at(0).start, 4650);
    EXPECT_EQ(engine->list().at(1).end, 18150);
    EXPECT_EQ(player->playlistTabs()->tabText(player->playlistTabs()->currentIndex()),
              QStringLiteral("Road Trip"));
}

TEST_F(PlaylistWindowsTest, WizardOffersTheFavoritesMostPlayedFirst)
{
    AlbumInfo &album = engine->current().album;
    album.trackPlayCounts[1] = 3;
    album.trackPlayCounts[3] = 3;
    album.trackPlayCounts[4] = 1;
    album.trackTitles[3] = QStringLiteral("Third");
    album.trackTitles[1].clear();
    windows->openWizard();
    TPlaylistWizard *wizard = windows->wizard();
    ASSERT_TRUE(wizard);
    wizard->nextButton()->click();
    EXPECT_TRUE(wizard->favoritesChoice()->isChecked());
    EXPECT_EQ(wizard->favoritesCount()->value(), 3);
    EXPECT_EQ(wizard->favoritesCount()->maximum(), 3);
    EXPECT_EQ(wizard->favoritesLabel()->text(), QStringLiteral("&favorite tracks."));
    wizard->manualChoice()->setChecked(true);
    wizard->favoritesCount()->setValue(2);
    EXPECT_TRUE(wizard->favoritesChoice()->isChecked());
    wizard->favoritesCount()->setValue(1);
    EXPECT_EQ(wizard->favoritesLabel()->text(), QStringLiteral("&favorite track."));
    wizard->favoritesCount()->setValue(2);
    wizard->nextButton()->click();
    EXPECT_EQ(wizard->favoritesText()->text(),
              QStringLiteral("The following 2 track(s) will be added to the playlist."));
    ASSERT_EQ(wizard->favoritesList()->count(), 2);
    EXPECT_EQ(wizard->favoritesList()->item(0)->text(), QStringLiteral("Third"));
    EXPECT_EQ(wizard->favoritesList()->item(1)->text(), QStringLiteral("Track 1"));
    EXPECT_EQ(wizard->tracks(), QList<int>({3, 1}));
    wizard->nextButton()->click();
    wizard->backButton()->click();
    EXPECT_EQ(wizard->currentPane()->findChild<QListWidget *>(), wizard->favoritesList());

    // The shuffle draws from the windows' random source, seeded 7 here.
    wizard->favoritesCount()->setValue(3);
    wizard->backButton()->click();
    wizard->nextButton()->click();
    wizard->nextButton()->click();
    wizard->shuffleChoice()->setChecked(true);
    wizard->nextButton()->click();
    wizard->finishButton()->click();
    QList<int> expected = {3, 1, 4};
    QRandomGenerator random(7);
    ShuffleTracks(expected, random);
    QList<int> tracks;
    for (const TStep &step : std::as_const(engine->list()))
        tracks.append((step.start - 150) / 4500 + 1);
    EXPECT_EQ(tracks, expected);
    EXPECT_EQ(engine->currentPlaylist(), QStringLiteral("New Playlist"));
}

TEST_F(PlaylistWindowsTest, PlaylistWindowAppliesAndRefusesTitles)
{
    addPlaylist(QStringLiteral("Mix"), {1, 2});
    addPlaylist(QStringLiteral("Other"), {4});
    makeCurrent(QStringLiteral("Mix"));
    engine->playStep(1);
    ASSERT_TRUE(engine->playing());

    button("EditButton")->click();
    TPlaylistForm *form = windows->playlistForm();
    ASSERT_TRUE(form);
    EXPECT_EQ(form->windowTitle(), QStringLiteral("Edit Playlist"));
    EXPECT_EQ(form->pages()->tabText(0), QStringLiteral("Title"));
    EXPECT_EQ(form->pages()->tabText(1), QStringLiteral("Tracks"));
    EXPECT_FALSE(form->applyButton()->isEnabled());
    EXPECT_EQ(form->picker()->tracks(), QList<int>({1, 2}));

    QTest::keyClicks(form->titleEdit(), QStringLiteral("x"));
    EXPECT_TRUE(form->applyButton()->isEnabled());
    form->titleEdit()->setText(QStringLiteral("other"));
    form->okButton()->click();
    EXPECT_TRUE(form->isVisible());
    ASSERT_EQ(questions.asked().size(), 1);
    EXPECT_EQ(questions.asked().at(0).id, Msg::PlaylistTitleInUse);
    EXPECT_TRUE(engine->playing());

    form->titleEdit()->setText(QStringLiteral("Late Mix"));
    form->picker()->insertTracks({3}, 0);
    form->pages()->setCurrentIndex(1);
    screenshot(form, QStringLiteral("playlist.png"));
    form->applyButton()->click();
    EXPECT_FALSE(form->applyButton()->isEnabled());
    EXPECT_FALSE(engine->playing());
    EXPECT_EQ(engine->currentPlaylist(), QStringLiteral("Late Mix"));
    EXPECT_EQ(player->playlistTabs()->tabText(1), QStringLiteral("Late Mix"));
    ASSERT_EQ(engine->list().size(), 3);
    EXPECT_EQ(engine->list().at(0).start, 9150);
    form->okButton()->click();
    QApplication::processEvents();
    EXPECT_FALSE(windows->playlistForm());
}

TEST_F(PlaylistWindowsTest, MenusAndButtonsOpenTheirWindowsAndRemove)
{
    addPlaylist(QStringLiteral("Mix"), {1, 2});
    makeCurrent(QStringLiteral("Mix"));
    // The built-in playlist has no window of its own.
    QAction *tabEdit = menuAction(menus()->tabPopup(), QStringLiteral("&Edit"));
    ASSERT_TRUE(tabEdit);
    tabEdit->trigger();
    ASSERT_TRUE(windows->playlistForm());
    EXPECT_EQ(windows->playlistForm()->titleEdit()->text(), QStringLiteral("Mix"));

    QMenu *menu = playlistMenu();
    ASSERT_TRUE(menu);
    menuAction(menu, QStringLiteral("&Add"))->trigger();
    EXPECT_TRUE(windows->wizard());

    player->playlistList()->setCurrentRow(1);
    menuAction(menus()->playlistPopup(), QStringLiteral("P&roperties"))->trigger();
    ASSERT_EQ(windows->stepForms().size(), 1);
    // The same step again: the open window comes to the front.
    menuAction(menus()->playlistPopup(), QStringLiteral("P&roperties"))->trigger();
    EXPECT_EQ(windows->stepForms().size(), 1);
    player->playlistList()->setCurrentRow(0);
    QListWidget *list = player->playlistList();
    settings.playlistDoubleClick = 2;
    emit list->itemDoubleClicked(list->item(0));
    EXPECT_EQ(windows->stepForms().size(), 1);
    EXPECT_FALSE(engine->playing());
    settings.playlistDoubleClick = 1;
    emit list->itemDoubleClicked(list->item(0));
    EXPECT_EQ(windows->stepForms().size(), 2);

    menuAction(menu, QStringLiteral("&Remove"))->trigger();
    QApplication::processEvents();
    EXPECT_EQ(engine->currentPlaylist(), QStringLiteral("Album"));
    EXPECT_FALSE(findPlaylist(engine->current().playlists, QStringLiteral("Mix")));
    EXPECT_EQ(player->playlistTabs()->count(), 1);
    // Another playlist became current: the editing windows closed, the wizard stays.
    EXPECT_FALSE(windows->playlistForm());
    EXPECT_TRUE(windows->stepForms().isEmpty());
    EXPECT_TRUE(windows->wizard());

    drive->remove();
    player->driveTick();
    QApplication::processEvents();
    QApplication::processEvents();
    EXPECT_FALSE(windows->wizard());
}

TEST_F(PlaylistWindowsTest, StepsDraggedOntoATabOrTheRemoveButton)
{
    addPlaylist(QStringLiteral("Keep"), {1});
    player->refreshAll();
    auto *control = player->findChild<PlayerListControl *>();
    ASSERT_TRUE(control);
    QListWidget *list = player->playlistList();
    list->clearSelection();
    list->item(2)->setSelected(true);
    list->item(3)->setSelected(true);
    control->dropStepsOnTab(1);
    const auto keep = findPlaylist(engine->current().playlists, QStringLiteral("Keep"));
    ASSERT_EQ(keep->steps.size(), 3);
    EXPECT_EQ(keep->steps.at(1).start, 9150);
    // "Album" takes no steps.
    control->dropStepsOnTab(0);
    EXPECT_EQ(engine->list().size(), 4);
    list->clearSelection();
    list->item(0)->setSelected(true);
    control->dropStepsOnRemove();
    ASSERT_EQ(engine->list().size(), 3);
    EXPECT_EQ(engine->list().at(0).start, 4650);
    EXPECT_EQ(list->count(), 3);
}

TEST_F(PlaylistWindowsTest, ItemWindowEditsTheStepWithinItsTrack)
{
    engine->current().album.trackTitles[2] = QStringLiteral("Second Song");
    player->playlistList()->setCurrentRow(1);
    windows->openStepProperties();
    ASSERT_EQ(windows->stepForms().size(), 1);
    TStepPropertiesForm *form = windows->stepForms().at(0);
    EXPECT_EQ(form->windowTitle(), QStringLiteral("Item Properties"));
    EXPECT_EQ(form->startSlider()->maximum(), 4500);
    EXPECT_EQ(form->endSlider()->value(), 4500);
    EXPECT_EQ(form->endTime()->text(), QStringLiteral("01:00"));
    EXPECT_EQ(form->scriptEdit()->toPlainText(),
              QStringLiteral("procedure Main;\n  // Enter code for this event here.\n\nendproc;"));

    form->startSlider()->setValue(1500);
    form->endSlider()->setValue(750);
    EXPECT_EQ(form->endTime()->text(), QStringLiteral("00:10"));
    form->titleEdit()->setText(QStringLiteral("second song"));
    form->accept();
    EXPECT_TRUE(form->isVisible());
    EXPECT_EQ(engine->list().at(1).start, 4650);

    form->endSlider()->setValue(3000);
    form->pages()->setCurrentIndex(1);
    screenshot(form, QStringLiteral("item-properties.png"));
    form->accept();
    QApplication::processEvents();
    EXPECT_TRUE(windows->stepForms().isEmpty());
    const TStep &step = engine->list().at(1);
    EXPECT_TRUE(step.title.isEmpty());
    EXPECT_TRUE(step.script.isEmpty());
    EXPECT_EQ(step.start, 6150);
    EXPECT_EQ(step.end, 7650);
}
