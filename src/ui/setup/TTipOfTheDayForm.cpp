#include "ui/setup/TTipOfTheDayForm.h"

#include "collection/Settings.h"

#include <QCheckBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>
#include <QVBoxLayout>
#include <QWindow>

namespace Orbisong {

TTipOfTheDayForm::TTipOfTheDayForm(const TipList &tips, qint64 startIndex, Settings &settings,
                                   QWidget *parent)
    : QDialog(parent, Qt::Dialog | Qt::FramelessWindowHint), m_tips(tips), m_settings(settings),
      m_index(startIndex)
{
    setObjectName(QStringLiteral("TipOfTheDayForm"));
    setWindowTitle(tr("Tip Of The Day"));
    setModal(true);

    m_heading = new QLabel(this);
    m_heading->setObjectName(QStringLiteral("TipHeadingLabel"));
    QFont bold = m_heading->font();
    bold.setBold(true);
    m_heading->setFont(bold);
    m_text = new QLabel(this);
    m_text->setObjectName(QStringLiteral("TipTextLabel"));
    m_text->setWordWrap(true);
    m_text->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    m_text->setMinimumHeight(90);

    m_showAtStart = new QCheckBox(tr("&Show a tip text time I start Orbisong."), this);
    m_showAtStart->setObjectName(QStringLiteral("ShowTipsCheck"));
    m_showAtStart->setChecked(settings.GetOptionFlag(_GLOB_OPTION_SHOWTOTD));

    m_morePanel = new QWidget(this);
    m_morePanel->setObjectName(QStringLiteral("MorePanel"));
    m_more = new QPushButton(tr("More"), m_morePanel);
    m_more->setObjectName(QStringLiteral("MoreButton"));
    auto *moreLayout = new QHBoxLayout(m_morePanel);
    moreLayout->setContentsMargins(0, 0, 0, 0);
    moreLayout->addWidget(m_more);
    auto *next = new QPushButton(tr("Next Tip"), this);
    next->setObjectName(QStringLiteral("NextTipButton"));
    auto *close = new QPushButton(tr("Close"), this);
    close->setObjectName(QStringLiteral("CloseButton"));
    close->setDefault(true);

    auto *buttons = new QHBoxLayout;
    buttons->addWidget(m_showAtStart, 1);
    buttons->addWidget(m_morePanel);
    buttons->addWidget(next);
    buttons->addWidget(close);

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(16, HeadingHeight + 10, 16, 12);
    layout->addWidget(m_heading);
    layout->addWidget(m_text, 1);
    layout->addLayout(buttons);

    connect(m_more, &QPushButton::clicked, this, [this] { emit helpRequested(tip().topic); });
    connect(next, &QPushButton::clicked, this, &TTipOfTheDayForm::showNextTip);
    connect(close, &QPushButton::clicked, this, &TTipOfTheDayForm::closeForm);
    resize(480, 240);
    showNextTip();
}

void TTipOfTheDayForm::showNextTip()
{
    m_shown = m_tips.wrap(m_index);
    m_index = m_shown + 1;
    const Tip shown = tip();
    m_heading->setText(shown.heading);
    m_text->setText(shown.text);
    m_morePanel->setVisible(!shown.topic.isEmpty());
    m_more->setEnabled(!shown.topic.isEmpty());
}

void TTipOfTheDayForm::closeForm()
{
    m_settings.SetOptionFlag(_GLOB_OPTION_SHOWTOTD, m_showAtStart->isChecked());
    accept();
}

bool TTipOfTheDayForm::isHeadingAt(const QPoint &point) const
{
    return point.y() >= 0 && point.y() < HeadingHeight && rect().contains(point);
}

void TTipOfTheDayForm::paintEvent(QPaintEvent *event)
{
    QDialog::paintEvent(event);
    QPainter painter(this);
    const QRect band(0, 0, width(), HeadingHeight);
    QLinearGradient gradient(band.topLeft(), band.topRight());
    gradient.setColorAt(0, QColor(0x1d, 0x3a, 0x6e));
    gradient.setColorAt(1, QColor(0x4f, 0x86, 0xc6));
    painter.fillRect(band, gradient);
    QFont font = painter.font();
    font.setBold(true);
    font.setPointSizeF(font.pointSizeF() * 1.4);
    painter.setFont(font);
    painter.setPen(Qt::white);
    painter.drawText(band.adjusted(16, 0, -16, 0), Qt::AlignVCenter | Qt::AlignLeft,
                     tr("Tip Of The Day"));
    painter.setPen(palette().color(QPalette::Mid));
    painter.drawRect(rect().adjusted(0, 0, -1, -1));
}

void TTipOfTheDayForm::mousePressEvent(QMouseEvent *event)
{
    if (event->button() != Qt::LeftButton || !isHeadingAt(event->position().toPoint())) {
        QDialog::mousePressEvent(event);
        return;
    }
    // The window manager moves the window where it can; elsewhere the window follows the
    // mouse itself.
    if (windowHandle() && windowHandle()->startSystemMove())
        return;
    m_dragging = true;
    m_dragOffset = event->globalPosition().toPoint() - frameGeometry().topLeft();
}

void TTipOfTheDayForm::mouseMoveEvent(QMouseEvent *event)
{
    if (!m_dragging) {
        QDialog::mouseMoveEvent(event);
        return;
    }
    move(event->globalPosition().toPoint() - m_dragOffset);
}

void TTipOfTheDayForm::mouseReleaseEvent(QMouseEvent *event)
{
    m_dragging = false;
    QDialog::mouseReleaseEvent(event);
}

} // namespace Orbisong
