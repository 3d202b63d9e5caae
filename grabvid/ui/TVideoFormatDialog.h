#pragma once

#include <QDialog>
#include <QList>
#include <QSize>

class QComboBox;

namespace Orbisong {

class CaptureSession;

// The driver's "Video Format" dialog: picture size and frame rate among those it offers.
class TVideoFormatDialog : public QDialog
{
    Q_OBJECT

public:
    TVideoFormatDialog(const CaptureSession &session, int fps, QWidget *parent = nullptr);
    QSize frameSize() const;
    int fps() const;

private:
    void fillRates();

    const CaptureSession &m_session;
    QComboBox *m_size;
    QComboBox *m_rate;
    int m_fps;
};

} // namespace Orbisong
