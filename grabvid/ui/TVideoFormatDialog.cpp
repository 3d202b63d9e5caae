#include "TVideoFormatDialog.h"

#include "CaptureSession.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>

namespace Orbisong {

TVideoFormatDialog::TVideoFormatDialog(const CaptureSession &session, int fps, QWidget *parent)
    : QDialog(parent), m_session(session), m_fps(fps)
{
    setWindowTitle(tr("Video Format"));
    auto *layout = new QFormLayout(this);
    m_size = new QComboBox(this);
    for (const QSize &size : session.frameSizes()) {
        m_size->addItem(tr("%1 x %2").arg(size.width()).arg(size.height()), size);
        if (size == session.frameSize())
            m_size->setCurrentIndex(m_size->count() - 1);
    }
    layout->addRow(tr("Image Size"), m_size);
    m_rate = new QComboBox(this);
    layout->addRow(tr("Frames per Second"), m_rate);
    fillRates();
    connect(m_size, &QComboBox::currentIndexChanged, this, &TVideoFormatDialog::fillRates);
    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    layout->addRow(buttons);
}

void TVideoFormatDialog::fillRates()
{
    const int wanted = m_rate->count() ? m_rate->currentData().toInt() : m_fps;
    m_rate->clear();
    for (const int rate : m_session.frameRates(frameSize())) {
        m_rate->addItem(QString::number(rate), rate);
        if (rate <= wanted)
            m_rate->setCurrentIndex(m_rate->count() - 1);
    }
}

QSize TVideoFormatDialog::frameSize() const
{
    return m_size->currentData().toSize();
}

int TVideoFormatDialog::fps() const
{
    return qMax(1, m_rate->currentData().toInt());
}

} // namespace Orbisong
