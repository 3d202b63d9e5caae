#include "ui/player/TPositionForm.h"

#include <QEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QScrollBar>
#include <QVBoxLayout>

namespace Orbisong {

TPositionForm::TPositionForm(int rangeSeconds, int positionSeconds,
                             std::function<QString(int)> labelFor, QWidget *parent)
    : QWidget(parent, Qt::Tool | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint),
      m_labelFor(std::move(labelFor))
{
    setObjectName(QStringLiteral("TPositionForm"));
    setAttribute(Qt::WA_DeleteOnClose);
    setAutoFillBackground(true);
    setBackgroundRole(QPalette::ToolTipBase);
    setStyleSheet(QStringLiteral("TPositionForm { border: 1px solid palette(mid); }"));
    m_label = new QLabel(QStringLiteral("00:00"));
    m_label->setObjectName(QStringLiteral("PositionLabel"));
    m_label->setAlignment(Qt::AlignCenter);
    m_label->setForegroundRole(QPalette::ToolTipText);
    m_scroll = new QScrollBar(Qt::Horizontal);
    m_scroll->setObjectName(QStringLiteral("PositionScroll"));
    m_scroll->setRange(0, qMax(0, rangeSeconds));
    m_scroll->setPageStep(10);
    m_scroll->setValue(qBound(0, positionSeconds, m_scroll->maximum()));
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(4, 2, 4, 4);
    layout->setSpacing(2);
    layout->addWidget(m_label);
    layout->addWidget(m_scroll);

    auto refresh = [this](int seconds) { m_label->setText(m_labelFor(seconds)); };
    refresh(m_scroll->value());
    connect(m_scroll, &QScrollBar::sliderMoved, this, refresh);
    connect(m_scroll, &QScrollBar::valueChanged, this, refresh);
    connect(m_scroll, &QScrollBar::sliderReleased, this,
            [this] { finish(m_scroll->sliderPosition()); });
    connect(m_scroll, &QScrollBar::actionTriggered, this, [this](int action) {
        if (action != QAbstractSlider::SliderMove && !m_scroll->isSliderDown())
            finish(m_scroll->sliderPosition());
    });
}

void TPositionForm::finish(int seconds)
{
    if (m_finished)
        return;
    m_finished = true;
    setEnabled(false);
    emit positionChosen(seconds, seconds >= m_scroll->maximum());
    close();
}

bool TPositionForm::event(QEvent *event)
{
    if (event->type() == QEvent::WindowDeactivate && !m_finished) {
        m_finished = true;
        close();
    }
    return QWidget::event(event);
}

void TPositionForm::keyPressEvent(QKeyEvent *event)
{
    if (event->key() == Qt::Key_Escape) {
        m_finished = true;
        close();
        return;
    }
    QWidget::keyPressEvent(event);
}

} // namespace Orbisong
