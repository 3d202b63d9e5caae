#pragma once

#include "player/RecognitionSequence.h"

#include <QObject>
#include <QPointer>

#include <functional>

namespace Orbisong {

class CddbEntryReceiver;
class DiscRecognizer;
class TMusicBrainzThread;
class ThreadWindow;
struct FoundAlbum;
struct Settings;

// The recognition stages beyond CDDB: the disc's own CD-Text and MusicBrainz. Both run on
// worker threads, show their stage on the recognizer's status line, end with its stop
// button, and hand what they find to the receiver like a found entry.
class RecognitionStages : public QObject
{
    Q_OBJECT

public:
    RecognitionStages(DiscRecognizer *recognizer, const Settings &settings,
                      CddbEntryReceiver *receiver, ThreadWindow *window, QObject *parent = nullptr);
    ~RecognitionStages() override;

    // The device path or image file of the disc being recognised.
    void setSourceOf(std::function<QString()> source) { m_sourceOf = std::move(source); }
    // Sets both stages on the recognizer.
    void install();

    RecognitionSequence::StageRunner cdTextStage();
    RecognitionSequence::StageRunner musicBrainzStage();

signals:
    // A MusicBrainz release was applied to `albumId` (the cover can follow).
    void releaseApplied(const QString &albumId, const QString &releaseId);
    // A MusicBrainz lookup failed with `text` for the user.
    void lookupFailed(const QString &text);

private:
    using Report = std::function<void(int)>;

    void applyFound(const QString &albumId, int source, const FoundAlbum &album, Report report);

    QPointer<DiscRecognizer> m_recognizer;
    const Settings &m_settings;
    CddbEntryReceiver *m_receiver;
    ThreadWindow *m_window;
    std::function<QString()> m_sourceOf;
    QList<QPointer<TMusicBrainzThread>> m_running;
};

} // namespace Orbisong
