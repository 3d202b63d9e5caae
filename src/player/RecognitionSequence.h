#pragma once

#include <QList>
#include <QObject>

#include <array>
#include <functional>

namespace Orbisong {

// The recognition of a new disc: its stages run one after another until one finds the disc.
// Each stage reports with a notice: 0 found (the sequence ends), anything else goes on.
// A stage whose lookup is not available reports "not found". The last stage, the album
// wizard, reports "found" when the user finishes it and "not found" when it is cancelled.
// MusicBrainz is asked once: before the CDDB stages when it is preferred, else after them;
// both places run the runner set for MusicBrainz.
class RecognitionSequence : public QObject
{
    Q_OBJECT

public:
    enum Stage {
        CdText = 0,
        OtherPlayer,
        SecondPlayer,
        MusicBrainzFirst,
        LocalCddb,
        RemoteCddb,
        MusicBrainz,
        AlbumWizard,
        StageCount
    };
    enum Notice { Found = 0, NotFound = 1, Failed = 2 };

    struct Request
    {
        QString query;             // CDDB query text
        QString discId;            // lower case
        QString mediaIdentity;     // upper case
        bool remoteLookup = false; // the remote stage may run
        bool albumWizard = false;  // the wizard stage may run
        bool preferMusicBrainz = false;
        QString source;         // the drive's device path or the image file
        QList<int> trackStarts; // start frames of the tracks
        int leadOut = 0;        // the lead-out frame
    };
    // Runs one stage; it calls `report` once, now or later.
    using StageRunner = std::function<void(const Request &, std::function<void(int)> report)>;

    explicit RecognitionSequence(const Request &request, QObject *parent = nullptr);

    void setStage(Stage stage, StageRunner runner) { m_runners[stage] = std::move(runner); }
    void start();
    // The user stopped the lookups: the network stages still to come are passed over.
    void skipNetworkStages() { m_request.remoteLookup = false; }
    int stage() const { return m_stage; }
    bool isClosed() const { return m_closed; }

signals:
    // Which stage ended the sequence and how (Found, or NotFound after the last stage).
    void finished(int stage, int notice);

private:
    void notice(int code);
    void runStage();
    void close(int notice);

    Request m_request;
    std::array<StageRunner, StageCount> m_runners;
    int m_stage = -1;
    int m_generation = 0;
    bool m_closed = false;
};

} // namespace Orbisong
