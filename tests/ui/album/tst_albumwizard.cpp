#include "base/MessageIds.h"
#include "cddb/CollectionEntryReceiver.h"
#include "cddb/RunningLookups.h"
#include "collection/Collection.h"
#include "collection/DiscInfo.h"
#include "collection/Settings.h"
#include "collection/TCfgFile.h"
#include "player/AlbumWindowRegistry.h"
#include "player/DiscRecognizer.h"
#include "ScriptedQuestionPort.h"
#include "TestFiles.h"
#include "TestHome.h"
#include "ui/album/AlbumTrackPane.h"
#include "ui/album/TAlbumWizard.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include <gtest/gtest.h>

#include <memory>

using namespace Orbisong;

namespace {

const QString Id = QStringLiteral("0A1B2C0C12345"); // twelve tracks

QByteArray entry()
{
    QByteArray text = "# xmcd\n# Revision: 4\nDISCID=0a1b2c0c\nDTITLE=found artist / found album\n";
    for (int i = 0; i < 12; ++i)
        text += "TTITLE" + QByteArray::number(i) + "=song " + QByteArray::number(i + 1) + "\n";
    text += "EXTD=\nEXTT0=first\\nnote\nPLAYORDER=\n";
    return text;
}

// The wizard with the parts that carry a local lookup's entry to it, as the program wires
// them: the lookups hand found entries to the receiver, whose window hook is the registry.
class AlbumWizardTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        writeFile(path, "<0A1B2C0C12345>\r\n [Album]\r\n  ID=0A1B2C0C12345\r\n  FL=2\r\n"
                        " [Media]\r\n  MD=65537\r\n [Tracks]\r\n  CT=12\r\n");
        settings.cddbLocalPath = home.file(QStringLiteral("cddb"));
        QDir().mkpath(settings.cddbLocalPath + QStringLiteral("/rock"));
        collection = std::make_unique<Collection>(settings, path);
        collection->BuildAlbumIndex();
        receiver = std::make_unique<CollectionEntryReceiver>(*collection);
        receiver->setWindowHook(registry.hook());
        lookups = std::make_unique<RunningLookups>(receiver.get(), nullptr);
    }

    std::unique_ptr<TAlbumWizard> open()
    {
        auto wizard = std::make_unique<TAlbumWizard>(*collection, settings, Id);
        wizard->setQuestionPort(&questions);
        registry.add(AlbumWindowRegistry::Wizard, Id, wizard.get());
        recognizer.setLookups(lookups.get());
        recognizer.setLocalCddbFolders({settings.cddbLocalPath});
        QObject::connect(wizard.get(), &TAlbumWizard::localLookupRequested, &recognizer,
                         [this](const QString &id) {
                             DiscInfo disc;
                             disc.id = id;
                             recognizer.lookUpLocal(disc);
                         });
        TAlbumWizard *shown = wizard.get();
        QObject::connect(&recognizer, &DiscRecognizer::lookupFinished, shown,
                         [shown](int, int result) { shown->lookupFinished(result); });
        wizard->show();
        return wizard;
    }

    QString saved(const QString &section, const QString &key)
    {
        collection->ShutdownCollection();
        TCfgFile file(path);
        file.load();
        return file.ReadString(Id, section, key, QStringLiteral("<none>"));
    }

    TestHome home;
    Settings settings = Settings::defaults(home.path(), QStringLiteral("ann"), QString());
    QString path = home.file(QStringLiteral("ann.obc"));
    std::unique_ptr<Collection> collection;
    AlbumWindowRegistry registry;
    std::unique_ptr<CollectionEntryReceiver> receiver;
    std::unique_ptr<RunningLookups> lookups;
    DiscRecognizer recognizer{settings};
    ScriptedQuestionPort questions;
};

} // namespace

TEST_F(AlbumWizardTest, StartsWithATrackPerTrackOfTheIdAndWalksThePanes)
{
    auto wizard = open();
    EXPECT_EQ(wizard->windowTitle(), "Add New Album - Step 1 of 5");
    EXPECT_EQ(wizard->currentPane(), wizard->sourcePane());
    EXPECT_FALSE(wizard->backButton()->isEnabled());
    EXPECT_TRUE(wizard->findChild<QPushButton *>("LocalLookupButton")->isEnabled());
    ASSERT_EQ(wizard->draft().tracks.size(), 12);
    EXPECT_EQ(wizard->draft().tracks.at(11).title, "Track 12");
    EXPECT_EQ(wizard->findChild<QLineEdit *>("YearEdit")->text(),
              QString::number(QDate::currentDate().year()));

    wizard->nextButton()->click();
    QTest::keyClicks(wizard->findChild<QComboBox *>("ArtistCombo")->lineEdit(), "Typed Artist");
    QTest::keyClicks(wizard->findChild<QLineEdit *>("TitleEdit"), "Typed Title");
    wizard->findChild<QCheckBox *>("LastNameCheck")->setChecked(true);
    wizard->nextButton()->click();
    QTest::keyClicks(wizard->findChild<QLineEdit *>("IndexEdit"), "7");
    wizard->nextButton()->click();
    EXPECT_EQ(wizard->windowTitle(), "Add New Album - Step 4 of 5");
    AlbumTrackPane *tracks = wizard->trackPane();
    EXPECT_EQ(tracks->titleEdit()->text(), "Track 1");
    EXPECT_FALSE(tracks->previousButton()->isEnabled());
    tracks->nextButton()->click();
    tracks->titleEdit()->selectAll();
    QTest::keyClicks(tracks->titleEdit(), "Second Song");
    wizard->nextButton()->click();
    EXPECT_EQ(wizard->currentPane(), wizard->confirmPane());
    EXPECT_TRUE(wizard->finishButton()->isVisible());
    EXPECT_TRUE(wizard->submitCheck()->isEnabled());
    wizard->submitCheck()->setChecked(true);
    QStringList submitted;
    QObject::connect(wizard.get(), &TAlbumWizard::submitRequested,
                     [&](const QString &id) { submitted.append(id); });
    wizard->finishButton()->click();
    EXPECT_EQ(submitted, QStringList({Id}));
    EXPECT_EQ(wizard->result(), QDialog::Accepted);
    wizard.reset();
    EXPECT_EQ(saved("Album", "AR"), "Typed Artist");
    EXPECT_EQ(saved("Album", "TL"), "Typed Title");
    EXPECT_EQ(saved("Album", "IX"), "7");
    EXPECT_EQ(saved("Album", "FL"), "6") << "the repeat bit stays";
    EXPECT_EQ(saved("Album", "SR"), "0");
    EXPECT_EQ(saved("Tracks", "TT[2]"), "Second Song");
    EXPECT_EQ(saved("Tracks", "TT[12]"), "Track 12");
}

TEST_F(AlbumWizardTest, LocalEntryFillsTheWizardAndJumpsToConfirmWithoutSubmission)
{
    writeFile(settings.cddbLocalPath + QStringLiteral("/rock/0a1b2c0c"), entry());
    auto wizard = open();
    wizard->findChild<QPushButton *>("LocalLookupButton")->click();
    for (int i = 0; i < 500 && wizard->currentPane() != wizard->confirmPane(); ++i)
        QTest::qWait(20);
    ASSERT_EQ(wizard->currentPane(), wizard->confirmPane());
    EXPECT_FALSE(wizard->submitCheck()->isEnabled());
    EXPECT_FALSE(wizard->submitCheck()->isChecked());
    EXPECT_EQ(wizard->findChild<QLineEdit *>("TitleEdit")->text(), "Found Album");
    EXPECT_EQ(wizard->findChild<QComboBox *>("ArtistCombo")->currentText(), "Found Artist");
    EXPECT_EQ(wizard->draft().tracks.at(0).title, "Song 1");
    EXPECT_EQ(wizard->draft().tracks.at(0).notes, "first\r\nnote");
    EXPECT_TRUE(questions.asked().isEmpty());
    wizard->finishButton()->click();
    wizard.reset();
    EXPECT_EQ(saved("Album", "TL"), "Found Album");
    EXPECT_EQ(saved("Album", "CA"), "Rock");
    EXPECT_EQ(saved("Album", "SR"), "2");
    EXPECT_EQ(saved("Album", "RV"), "5");
    EXPECT_EQ(saved("Tracks", "TT[12]"), "Song 12");
    EXPECT_EQ(saved("Tracks", "TM[1]"), "first\\nnote");
}

TEST_F(AlbumWizardTest, NothingFoundAsksForTheManualEntry)
{
    writeFile(settings.cddbLocalPath + QStringLiteral("/rock/7f000001"),
              "# xmcd\nDISCID=7f000001\nDTITLE=a / b\n");
    auto wizard = open();
    wizard->findChild<QPushButton *>("LocalLookupButton")->click();
    for (int i = 0; i < 500 && questions.asked().isEmpty(); ++i)
        QTest::qWait(20);
    ASSERT_EQ(questions.asked().size(), 1);
    EXPECT_EQ(questions.asked().at(0).id, Msg::AlbumNotFoundEnterManually);
    EXPECT_EQ(wizard->currentPane(), wizard->sourcePane());
}

TEST_F(AlbumWizardTest, LocalButtonNeedsTheLocalFolder)
{
    settings.cddbLocalPath = home.file(QStringLiteral("missing"));
    auto wizard = open();
    EXPECT_FALSE(wizard->findChild<QPushButton *>("LocalLookupButton")->isEnabled());
    EXPECT_TRUE(wizard->findChild<QPushButton *>("RemoteLookupButton")->isEnabled());
}
