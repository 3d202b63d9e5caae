#pragma once

#include "player/RecognitionSequence.h"

#include <QObject>
#include <QPointer>
#include <QStringList>

#include <array>
#include <functional>

namespace Orbisong {

class RunningLookups;
struct DiscInfo;
struct Settings;

// Identifies the disc in the player's drive: the recognition sequence of a new disc, and the
// single lookups the player's buttons ask for. It shows nothing itself; the window listens to
// its signals for the status line, the lookup animation and the notices.
class DiscRecognizer : public QObject
{
    Q_OBJECT

public:
    explicit DiscRecognizer(const Settings &settings, QObject *parent = nullptr);

    // The lookups started here run with these; without them no lookup starts.
    void setLookups(RunningLookups *lookups) { m_lookups = lookups; }

    // Folders of xmcd databases, searched one after another.
    void setLocalCddbFolders(const QStringList &folders) { m_localCddbFolders = folders; }
    QStringList localCddbFolders() const { return m_localCddbFolders; }

    // Runs the album wizard stage of the recognition sequence; without it the stage reports
    // "not found".
    void setAlbumWizard(RecognitionSequence::StageRunner runner)
    {
        m_albumWizard = std::move(runner);
    }

    // Runs a stage that reads another player's data (OtherPlayer or SecondPlayer), the disc's
    // CD-Text (CdText) or MusicBrainz (MusicBrainz); without a runner the stage reports
    // "not found".
    void setImportStage(RecognitionSequence::Stage stage, RecognitionSequence::StageRunner runner);

    // Lookups run by the stages set from outside show themselves as the CDDB lookups do: a
    // status line, the stop button while they run, and the end notice.
    int beginOwnLookup();
    void showOwnLookupStatus(int lookup, const QString &text) { emit lookupStatus(lookup, text); }
    // Ends the lookup; a `message` for the user stays on its status line for a while.
    void endOwnLookup(int lookup, int result, const QString &message = {});

    // What the recognition sequence is given for `disc`.
    static RecognitionSequence::Request requestFor(const DiscInfo &disc, const Settings &settings);

    // Runs the stages of the recognition sequence for a new disc.
    void recognise(const DiscInfo &disc);
    // Searches the local databases alone; ends with lookupFinished(LocalCddb, result).
    void lookUpLocal(const DiscInfo &disc);
    // Asks the server alone; ends with lookupFinished(RemoteCddb, result). False when no
    // lookup could start.
    bool lookUpRemote(const DiscInfo &disc);

    bool remoteLookupRunning() const;
    // Asks every running remote lookup to stop; none of them shows a message afterwards.
    void stopRemoteLookups();

signals:
    // The stop button: the lookups of the stages set from outside end.
    void stopRequested();
    // The status-line text of one running lookup, known by `lookup`; empty clears it.
    void lookupStatus(int lookup, const QString &text);
    void remoteLookupStarted();
    // Every remote lookup that ends, whoever started it.
    void remoteLookupFinished(int result);
    // The recognition sequence ended: found at `stage`, or not found after the last stage
    // (RecognitionSequence::Notice).
    void recognitionFinished(int stage, int notice);
    // A lookup asked for by lookUpLocal or lookUpRemote ended (RecognitionSequence::Notice):
    // found, nothing found in a database, or no database to search.
    void lookupFinished(int stage, int result);

private:
    using Report = std::function<void(int)>;
    static constexpr int MessageShownMs = 15000;

    void runLocal(QStringList folders, const QString &albumId, int outcome, Report report);
    bool runRemote(const QString &albumId, const QString &query, Report report);

    const Settings &m_settings;
    RunningLookups *m_lookups = nullptr;
    QStringList m_localCddbFolders;
    RecognitionSequence::StageRunner m_albumWizard;
    std::array<RecognitionSequence::StageRunner, RecognitionSequence::StageCount> m_importStages;
    int m_lastLookup = 0;
    int m_ownLookups = 0;
    QPointer<RecognitionSequence> m_sequence; // the newest disc's, until it closes
};

} // namespace Orbisong
