#include "TVideoSourceDialog.h"

#include "CaptureSession.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QSlider>

namespace Orbisong {

TVideoSourceDialog::TVideoSourceDialog(CaptureSession &session, QWidget *parent)
    : QDialog(parent), m_session(session), m_original(session.sourceControls())
{
    setWindowTitle(tr("Video Source"));
    auto *layout = new QFormLayout(this);
    layout->addRow(new QLabel(session.driver().name, this));
    for (const SourceControl &control : m_original) {
        auto *slider = new QSlider(Qt::Horizontal, this);
        slider->setRange(control.minimum, control.maximum);
        slider->setValue(control.value);
        slider->setMinimumWidth(200);
        const QString name = control.name;
        connect(slider, &QSlider::valueChanged, this,
                [this, name](int value) { m_session.setSourceControl(name, value); });
        QString label = name.toLower();
        label[0] = label.at(0).toUpper();
        layout->addRow(label, slider);
    }
    if (m_original.isEmpty())
        layout->addRow(new QLabel(tr("This source has no picture controls."), this));
    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    layout->addRow(buttons);
}

void TVideoSourceDialog::reject()
{
    for (const SourceControl &control : m_original)
        m_session.setSourceControl(control.name, control.value);
    QDialog::reject();
}

} // namespace Orbisong
