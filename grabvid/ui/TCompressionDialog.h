#pragma once

#include "CaptureTypes.h"

#include <QDialog>

class QComboBox;
class QSpinBox;

namespace Orbisong {

// The "Video Compression" dialog: the encoder of captured video and its quality.
class TCompressionDialog : public QDialog
{
    Q_OBJECT

public:
    TCompressionDialog(const VideoEncoder &encoder, QWidget *parent = nullptr);
    VideoEncoder encoder() const;

private:
    QComboBox *m_kind;
    QSpinBox *m_quality;
};

} // namespace Orbisong
