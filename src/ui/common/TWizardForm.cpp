#include "ui/common/TWizardForm.h"

#include <QFrame>
#include <QHBoxLayout>
#include <QPushButton>
#include <QStackedWidget>
#include <QVBoxLayout>

namespace Orbisong {

namespace {

const char *const TagProperty = "wizardPaneTag";

} // namespace

TWizardForm::TWizardForm(const QString &caption, QWidget *parent)
    : QDialog(parent), m_caption(caption)
{
    setWindowTitle(caption);
    m_stack = new QStackedWidget(this);
    auto *rule = new QFrame(this);
    rule->setFrameShape(QFrame::HLine);
    rule->setFrameShadow(QFrame::Sunken);

    m_back = new QPushButton(tr("< &Back"), this);
    m_next = new QPushButton(tr("&Next >"), this);
    m_finish = new QPushButton(tr("Finish"), this);
    m_cancel = new QPushButton(tr("Cancel"), this);
    // Enter presses whichever of Next and Finish is showing, never Cancel.
    for (QPushButton *button : {m_back, m_next, m_finish, m_cancel})
        button->setAutoDefault(false);

    auto *buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(m_back);
    buttons->addWidget(m_next);
    buttons->addWidget(m_finish);
    buttons->addSpacing(12);
    buttons->addWidget(m_cancel);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(m_stack, 1);
    layout->addWidget(rule);
    layout->addLayout(buttons);

    connect(m_back, &QPushButton::clicked, this, &TWizardForm::goBack);
    connect(m_next, &QPushButton::clicked, this, &TWizardForm::goNext);
    connect(m_finish, &QPushButton::clicked, this, &TWizardForm::finish);
    connect(m_cancel, &QPushButton::clicked, this, &QDialog::reject);
}

void TWizardForm::addPane(QWidget *pane, int step, int total)
{
    pane->setProperty(TagProperty, (total << 16) | (step & 0xFFFF));
    m_panes.append(pane);
    m_stack->addWidget(pane);
}

int TWizardForm::paneTag(const QWidget *pane)
{
    return pane ? pane->property(TagProperty).toInt() : 0;
}

QWidget *TWizardForm::currentPane() const
{
    return m_stack->currentWidget();
}

void TWizardForm::start()
{
    showPane(nextPane(nullptr));
}

void TWizardForm::showPane(QWidget *pane)
{
    if (!pane)
        return;
    m_stack->setCurrentWidget(pane);
    m_back->setEnabled(allowsBack(pane));
    const bool next = hasNextPane(pane);
    m_next->setVisible(next);
    m_next->setEnabled(next);
    m_finish->setVisible(!next);
    m_finish->setEnabled(!next);
    (next ? m_next : m_finish)->setDefault(true);
    updateCaption(pane);
    if (QWidget *control = focusControl(pane))
        control->setFocus();
}

void TWizardForm::updateCaption(QWidget *pane)
{
    const int tag = paneTag(pane);
    const int step = tag & 0xFFFF;
    const int total = tag >> 16;
    if (step == 0 || total == 0) {
        setWindowTitle(m_caption);
        return;
    }
    setWindowTitle(tr("%1 - Step %2 of %3").arg(m_caption).arg(step).arg(total));
}

QWidget *TWizardForm::nextPane(QWidget *pane)
{
    if (!pane)
        return m_panes.value(0);
    return m_panes.value(m_panes.indexOf(pane) + 1);
}

QWidget *TWizardForm::previousPane(QWidget *pane)
{
    const qsizetype at = m_panes.indexOf(pane);
    return at > 0 ? m_panes.at(at - 1) : nullptr;
}

QWidget *TWizardForm::focusControl(QWidget *pane)
{
    const QList<QWidget *> children = pane->findChildren<QWidget *>();
    for (QWidget *child : children) {
        if (child->focusPolicy() != Qt::NoFocus && child->isEnabled())
            return child;
    }
    return nullptr;
}

bool TWizardForm::hasNextPane(QWidget *pane)
{
    return !m_panes.isEmpty() && m_panes.last() != pane;
}

bool TWizardForm::allowsBack(QWidget *pane)
{
    return !m_panes.isEmpty() && m_panes.first() != pane;
}

bool TWizardForm::leavePane(QWidget *pane)
{
    Q_UNUSED(pane)
    return true;
}

void TWizardForm::finish()
{
    accept();
}

void TWizardForm::goNext()
{
    QWidget *pane = currentPane();
    if (!pane || !hasNextPane(pane) || !leavePane(pane))
        return;
    showPane(nextPane(pane));
}

void TWizardForm::goBack()
{
    QWidget *pane = currentPane();
    if (pane && allowsBack(pane))
        showPane(previousPane(pane));
}

} // namespace Orbisong
