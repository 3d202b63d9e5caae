#pragma once

#include <QDialog>

class QButtonGroup;
class QCheckBox;
class QSpinBox;

namespace Orbisong {

// What the "Capture Settings" sheet edits.
struct CaptureChoice
{
    int fps = 15;
    bool captureAudio = true;
    int bitsPerSample = 8;
    int samplesPerSec = 11025;
    int channels = 1;
};

// The "Capture Settings" property sheet: a video page (frame rate) and an audio page.
class TCaptureSettingsSheet : public QDialog
{
    Q_OBJECT

public:
    explicit TCaptureSettingsSheet(const CaptureChoice &choice, QWidget *parent = nullptr);
    CaptureChoice choice() const;

private:
    QSpinBox *m_fps;
    QCheckBox *m_audio;
    QButtonGroup *m_bits;
    QButtonGroup *m_frequency;
    QButtonGroup *m_channels;
};

} // namespace Orbisong
