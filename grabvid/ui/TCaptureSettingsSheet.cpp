#include "TCaptureSettingsSheet.h"

#include "CaptureMath.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QRadioButton>
#include <QSpinBox>
#include <QTabWidget>
#include <QVBoxLayout>

namespace Orbisong {

namespace {

QButtonGroup *addChoices(QWidget *owner, QVBoxLayout *layout, const QString &title,
                         const QStringList &labels, int checked)
{
    auto *box = new QGroupBox(title, owner);
    auto *boxLayout = new QHBoxLayout(box);
    auto *group = new QButtonGroup(owner);
    for (int i = 0; i < labels.size(); ++i) {
        auto *button = new QRadioButton(labels.at(i), box);
        group->addButton(button, i);
        boxLayout->addWidget(button);
    }
    if (QAbstractButton *button = group->button(checked))
        button->setChecked(true);
    layout->addWidget(box);
    return group;
}

} // namespace

TCaptureSettingsSheet::TCaptureSettingsSheet(const CaptureChoice &choice, QWidget *parent)
    : QDialog(parent)
{
    setWindowTitle(tr("Capture Settings"));
    auto *tabs = new QTabWidget(this);

    auto *videoPage = new QWidget(tabs);
    auto *videoLayout = new QFormLayout(videoPage);
    m_fps = new QSpinBox(videoPage);
    // A rate of 0 would make the frame period infinite.
    m_fps->setRange(1, 60);
    m_fps->setValue(qBound(1, choice.fps, 60));
    videoLayout->addRow(tr("Frames per Second"), m_fps);
    tabs->addTab(videoPage, tr("Video Settings"));

    auto *audioPage = new QWidget(tabs);
    auto *audioLayout = new QVBoxLayout(audioPage);
    m_audio = new QCheckBox(tr("Capture Audio"), audioPage);
    m_audio->setChecked(choice.captureAudio);
    audioLayout->addWidget(m_audio);
    m_bits = addChoices(audioPage, audioLayout, tr("Sample Size"), {tr("8 Bit"), tr("16 Bit")},
                        choice.bitsPerSample == 16 ? 1 : 0);
    m_frequency = addChoices(audioPage, audioLayout, tr("Frequency"),
                             {tr("11 KHz"), tr("22 KHz"), tr("44 KHz")},
                             choiceForSamplesPerSec(choice.samplesPerSec));
    m_channels = addChoices(audioPage, audioLayout, tr("Channels"), {tr("Mono"), tr("Stereo")},
                            choice.channels == 2 ? 1 : 0);
    tabs->addTab(audioPage, tr("Audio Settings"));

    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(tabs);
    layout->addWidget(buttons);
}

CaptureChoice TCaptureSettingsSheet::choice() const
{
    CaptureChoice choice;
    choice.fps = m_fps->value();
    choice.captureAudio = m_audio->isChecked();
    choice.bitsPerSample = m_bits->checkedId() == 1 ? 16 : 8;
    choice.samplesPerSec = samplesPerSecForChoice(m_frequency->checkedId());
    choice.channels = m_channels->checkedId() == 1 ? 2 : 1;
    return choice;
}

} // namespace Orbisong
