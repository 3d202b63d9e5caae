#include "base/ThreadWindow.h"
#include "cddb/CddbApply.h"
#include "cddb/CddbQuery.h"
#include "cddb/RunningLookups.h"
#include "CddbPeer.h"
#include "collection/DiscInfo.h"
#include "collection/Settings.h"
#include "player/DiscRecognizer.h"
#include "player/RecognitionSequence.h"
#include "TestHome.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QSignalSpy>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace Orbisong;

namespace {

QByteArray entryText(const char *discId, const char *title)
{
    return QByteArray("# xmcd\nDISCID=") + discId + "\nDTITLE=" + title +
           "\nTTITLE0=one\nTTITLE1=two\nEXTD=\nEXTT0=\nEXTT1=\nPLAYORDER=\n";
}

// Two tracks; its CDDB disc id is 04018e02.
DiscInfo twoTracks()
{
    DiscInfo disc;
    disc.id = QStringLiteral("04018E0203A98");
    disc.mediaIdentity = QStringLiteral("3fa2b1");
    disc.trackCount = 2;
    disc.trackOffsets[1] = 150;
    disc.trackOffsets[2] = 15000;
    disc.trackOffsets[3] = 30000;
    disc.length = 400;
    return disc;
}

struct Receiver : CddbEntryReceiver
{
    QList<CddbAlbumFields> applied;
    bool applyToAlbum(const QString &albumId, const CddbAlbumFields &fields) override
    {
        if (albumId != twoTracks().id)
            return false;
        applied.append(fields);
        return true;
    }
};

class Recognizer : public ::testing::Test
{
protected:
    void SetUp() override
    {
        settings = Settings::defaults(home.path(), QStringLiteral("ann"), QStringLiteral("D"));
    }

    // A local database folder holding one entry file "<category>/<id>".
    QString database(const QString &name, const char *id, const char *title)
    {
        const QString folder = dir.filePath(name);
        QDir(folder).mkpath(QStringLiteral("rock"));
        QFile file(folder + QStringLiteral("/rock/") + QString::fromLatin1(id));
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(entryText(id, title));
        return folder;
    }

    // The server knows the disc; remote lookups go to it.
    void startServer()
    {
        peer.addEntry(QStringLiteral("jazz"), QStringLiteral("04018e02"),
                      entryText("04018e02", "Server Artist / Server Album"));
        ASSERT_TRUE(peer.start());
        settings.cddbServer = QStringLiteral("127.0.0.1");
        settings.cddbPort = QString::number(peer.cddbpPort());
        settings.cddbProtocol = QStringLiteral("CDDBP");
    }

    TestHome home;
    QTemporaryDir dir;
    Settings settings;
    Receiver receiver;
    ThreadWindow threadWindow;
    RunningLookups lookups{&receiver, &threadWindow};
    CddbPeer peer;
};

} // namespace

TEST(RecognitionSequence, StagesRunInTurnUntilOneFinds)
{
    QList<int> ran;
    int endStage = -1;
    int endNotice = -1;
    auto run = [&](bool remote, bool wizard, int foundAt, bool preferMusicBrainz = false) {
        ran.clear();
        RecognitionSequence::Request request;
        request.remoteLookup = remote;
        request.albumWizard = wizard;
        request.preferMusicBrainz = preferMusicBrainz;
        auto *lookup = new RecognitionSequence(request);
        for (int stage = 0; stage < RecognitionSequence::StageCount; ++stage) {
            lookup->setStage(
                RecognitionSequence::Stage(stage),
                [&ran, stage, foundAt](const RecognitionSequence::Request &, auto report) {
                    ran.append(stage);
                    report(stage == foundAt ? RecognitionSequence::Found
                                            : RecognitionSequence::NotFound);
                });
        }
        QObject::connect(lookup, &RecognitionSequence::finished, [&](int stage, int notice) {
            endStage = stage;
            endNotice = notice;
        });
        lookup->start();
        for (int i = 0; i < 20; ++i)
            QCoreApplication::processEvents();
    };
    using S = RecognitionSequence;
    run(false, false, -1);
    EXPECT_EQ(ran, QList<int>({S::CdText, S::OtherPlayer, S::SecondPlayer, S::LocalCddb}));
    EXPECT_EQ(endNotice, RecognitionSequence::NotFound);
    run(true, true, -1);
    EXPECT_EQ(ran, QList<int>({S::CdText, S::OtherPlayer, S::SecondPlayer, S::LocalCddb,
                               S::RemoteCddb, S::MusicBrainz, S::AlbumWizard}));
    // Preferred, MusicBrainz is asked before the CDDB stages and not again after them.
    run(true, true, -1, true);
    EXPECT_EQ(ran, QList<int>({S::CdText, S::OtherPlayer, S::SecondPlayer, S::MusicBrainz,
                               S::LocalCddb, S::RemoteCddb, S::AlbumWizard}));
    run(true, true, S::SecondPlayer);
    EXPECT_EQ(ran, QList<int>({S::CdText, S::OtherPlayer, S::SecondPlayer}));
    EXPECT_EQ(endStage, S::SecondPlayer);
    EXPECT_EQ(endNotice, RecognitionSequence::Found);
}

TEST(CddbQuery, QueryText)
{
    EXPECT_EQ(CddbQueryText(QStringLiteral("8A09B10C00096"), {150, 4650, 9150}, 243),
              QStringLiteral("8a09b10c 3 150 4650 9150 243"));
}

TEST_F(Recognizer, RequestFollowsTheDiscAndTheSettings)
{
    settings.SetOptionFlag(_GLOB_OPTION_AUTORCDDB, true);
    settings.SetOptionFlag(_GLOB_OPTION_USEALBWIZ, false);
    const RecognitionSequence::Request request = DiscRecognizer::requestFor(twoTracks(), settings);
    EXPECT_EQ(request.discId, QStringLiteral("04018e0203a98"));
    EXPECT_EQ(request.query, QStringLiteral("04018e02 2 150 15000 400"));
    EXPECT_EQ(request.mediaIdentity, QStringLiteral("3FA2B1"));
    EXPECT_TRUE(request.remoteLookup);
    EXPECT_FALSE(request.albumWizard);
}

TEST_F(Recognizer, LocalEntryEndsTheSequenceWithoutAskingTheServer)
{
    startServer();
    settings.SetOptionFlag(_GLOB_OPTION_AUTORCDDB, true);
    DiscRecognizer recognizer(settings);
    recognizer.setLookups(&lookups);
    recognizer.setLocalCddbFolders({dir.filePath(QStringLiteral("missing")),
                                    database(QStringLiteral("db"), "04018e02", "Local / Album")});
    QSignalSpy finished(&recognizer, &DiscRecognizer::recognitionFinished);
    QSignalSpy status(&recognizer, &DiscRecognizer::lookupStatus);
    recognizer.recognise(twoTracks());
    ASSERT_TRUE(finished.wait(10000));
    EXPECT_EQ(finished.at(0).at(0).toInt(), RecognitionSequence::LocalCddb);
    EXPECT_EQ(finished.at(0).at(1).toInt(), RecognitionSequence::Found);
    ASSERT_EQ(receiver.applied.size(), 1);
    EXPECT_EQ(receiver.applied.at(0).source, int(SourceLocalDatabase));
    EXPECT_TRUE(peer.transcript().isEmpty());
    // Every lookup clears the status line it used.
    QHash<int, QString> last;
    for (const auto &args : status)
        last.insert(args.at(0).toInt(), args.at(1).toString());
    EXPECT_EQ(last.size(), 2) << "one lookup for each folder";
    for (const QString &text : std::as_const(last))
        EXPECT_TRUE(text.isEmpty());
}

TEST_F(Recognizer, ServerIsAskedWhenTheLocalFilesDoNotKnowTheDisc)
{
    startServer();
    settings.SetOptionFlag(_GLOB_OPTION_AUTORCDDB, true);
    DiscRecognizer recognizer(settings);
    recognizer.setLookups(&lookups);
    recognizer.setLocalCddbFolders({database(QStringLiteral("db"), "7f000001", "Other / One")});
    QSignalSpy finished(&recognizer, &DiscRecognizer::recognitionFinished);
    QSignalSpy started(&recognizer, &DiscRecognizer::remoteLookupStarted);
    QSignalSpy remoteDone(&recognizer, &DiscRecognizer::remoteLookupFinished);
    recognizer.recognise(twoTracks());
    ASSERT_TRUE(finished.wait(20000));
    EXPECT_EQ(finished.at(0).at(0).toInt(), RecognitionSequence::RemoteCddb);
    EXPECT_EQ(finished.at(0).at(1).toInt(), RecognitionSequence::Found);
    EXPECT_EQ(started.count(), 1);
    ASSERT_EQ(remoteDone.count(), 1);
    EXPECT_EQ(remoteDone.at(0).at(0).toInt(), RecognitionSequence::Found);
    ASSERT_EQ(receiver.applied.size(), 1);
    EXPECT_EQ(receiver.applied.at(0).source, int(SourceCddbServer));
}

TEST_F(Recognizer, LocalLookupAloneNeverAsksTheServer)
{
    startServer();
    settings.SetOptionFlag(_GLOB_OPTION_AUTORCDDB, true);
    DiscRecognizer recognizer(settings);
    recognizer.setLookups(&lookups);
    recognizer.setLocalCddbFolders({database(QStringLiteral("db"), "7f000001", "Other / One")});
    QSignalSpy finished(&recognizer, &DiscRecognizer::lookupFinished);
    QSignalSpy started(&recognizer, &DiscRecognizer::remoteLookupStarted);
    QSignalSpy sequence(&recognizer, &DiscRecognizer::recognitionFinished);
    recognizer.lookUpLocal(twoTracks());
    ASSERT_TRUE(finished.wait(10000));
    EXPECT_EQ(finished.at(0).at(0).toInt(), RecognitionSequence::LocalCddb);
    EXPECT_EQ(finished.at(0).at(1).toInt(), RecognitionSequence::NotFound);
    for (int i = 0; i < 20; ++i)
        QCoreApplication::processEvents();
    EXPECT_EQ(started.count(), 0);
    EXPECT_EQ(sequence.count(), 0);
    EXPECT_FALSE(recognizer.remoteLookupRunning());
    EXPECT_TRUE(peer.transcript().isEmpty());
    EXPECT_TRUE(receiver.applied.isEmpty());
}

TEST_F(Recognizer, LocalOutcomeTellsAnUnknownDiscFromNoDatabase)
{
    DiscRecognizer recognizer(settings);
    recognizer.setLookups(&lookups);
    QSignalSpy finished(&recognizer, &DiscRecognizer::lookupFinished);
    auto outcome = [&](const QStringList &folders) {
        finished.clear();
        recognizer.setLocalCddbFolders(folders);
        recognizer.lookUpLocal(twoTracks());
        if (finished.isEmpty()) {
            EXPECT_TRUE(finished.wait(10000));
        }
        return finished.isEmpty() ? -1 : finished.at(0).at(1).toInt();
    };
    const QString missing = dir.filePath(QStringLiteral("missing"));
    const QString other = database(QStringLiteral("other"), "7f000001", "Other / One");
    const QString known = database(QStringLiteral("known"), "04018e02", "Known / One");
    EXPECT_EQ(outcome({}), RecognitionSequence::Failed);
    EXPECT_EQ(outcome({missing}), RecognitionSequence::Failed);
    EXPECT_EQ(outcome({other, missing}), RecognitionSequence::NotFound);
    EXPECT_EQ(outcome({missing, other}), RecognitionSequence::NotFound);
    EXPECT_EQ(outcome({missing, other, known}), RecognitionSequence::Found);
    EXPECT_EQ(receiver.applied.size(), 1);
}

TEST_F(Recognizer, RemoteLookupAloneReportsAnUnknownDisc)
{
    ASSERT_TRUE(peer.start());
    settings.cddbServer = QStringLiteral("127.0.0.1");
    settings.cddbPort = QString::number(peer.cddbpPort());
    settings.cddbProtocol = QStringLiteral("CDDBP");
    DiscRecognizer recognizer(settings);
    recognizer.setLookups(&lookups);
    QSignalSpy finished(&recognizer, &DiscRecognizer::lookupFinished);
    QSignalSpy remoteDone(&recognizer, &DiscRecognizer::remoteLookupFinished);
    ASSERT_TRUE(recognizer.lookUpRemote(twoTracks()));
    ASSERT_TRUE(finished.wait(20000));
    EXPECT_EQ(finished.at(0).at(0).toInt(), RecognitionSequence::RemoteCddb);
    EXPECT_EQ(finished.at(0).at(1).toInt(), RecognitionSequence::NotFound);
    EXPECT_EQ(remoteDone.count(), 1);
    EXPECT_TRUE(peer.transcript().join(u'\n').contains(QStringLiteral("04018e02")));
}

// The wizard stage ends the sequence the way the user leaves the wizard.
TEST(RecognitionSequence, TheWizardStageReportsHowTheWizardEnded)
{
    for (int outcome : {int(RecognitionSequence::Found), int(RecognitionSequence::NotFound)}) {
        RecognitionSequence::Request request;
        request.albumWizard = true;
        auto *lookup = new RecognitionSequence(request);
        std::function<void(int)> wizardReport;
        lookup->setStage(
            RecognitionSequence::AlbumWizard,
            [&](const RecognitionSequence::Request &, auto report) { wizardReport = report; });
        QSignalSpy finished(lookup, &RecognitionSequence::finished);
        lookup->start();
        for (int i = 0; i < 10; ++i)
            QCoreApplication::processEvents();
        ASSERT_TRUE(wizardReport) << "the wizard stage runs while the wizard is allowed";
        EXPECT_TRUE(finished.isEmpty()) << "the sequence waits for the wizard";
        wizardReport(outcome);
        ASSERT_TRUE(finished.wait(1000));
        const int endStage = outcome == RecognitionSequence::Found
                                 ? RecognitionSequence::AlbumWizard
                                 : RecognitionSequence::StageCount;
        EXPECT_EQ(finished.at(0).at(0).toInt(), endStage);
        EXPECT_EQ(finished.at(0).at(1).toInt(), outcome);
    }
}
