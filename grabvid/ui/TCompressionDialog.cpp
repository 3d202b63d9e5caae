#include "TCompressionDialog.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QSpinBox>

namespace Orbisong {

TCompressionDialog::TCompressionDialog(const VideoEncoder &encoder, QWidget *parent)
    : QDialog(parent)
{
    setWindowTitle(tr("Video Compression"));
    auto *layout = new QFormLayout(this);
    m_kind = new QComboBox(this);
    m_kind->addItem(tr("Motion JPEG"), int(VideoEncoder::MotionJpeg));
    m_kind->addItem(tr("Full Frames (Uncompressed)"), int(VideoEncoder::Uncompressed));
    m_kind->setCurrentIndex(encoder.kind == VideoEncoder::MotionJpeg ? 0 : 1);
    layout->addRow(tr("Compressor"), m_kind);
    m_quality = new QSpinBox(this);
    m_quality->setRange(0, 100);
    m_quality->setValue(encoder.quality);
    layout->addRow(tr("Compression Quality"), m_quality);
    const auto updateQuality = [this] {
        m_quality->setEnabled(m_kind->currentData().toInt() == VideoEncoder::MotionJpeg);
    };
    connect(m_kind, &QComboBox::currentIndexChanged, this, updateQuality);
    updateQuality();
    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    layout->addRow(buttons);
}

VideoEncoder TCompressionDialog::encoder() const
{
    VideoEncoder encoder;
    encoder.kind = VideoEncoder::Kind(m_kind->currentData().toInt());
    encoder.quality = m_quality->value();
    return encoder;
}

} // namespace Orbisong
