#include "ui/player/PlayerHints.h"

#include <QIcon>
#include <QToolButton>

namespace Orbisong {

void PlayerHints::add(QWidget *widget, const QString &text)
{
    m_hints.append({widget, text});
    widget->setToolTip(m_on ? text : QString());
}

void PlayerHints::setText(QWidget *widget, const QString &text)
{
    for (auto &entry : m_hints) {
        if (entry.first == widget)
            entry.second = text;
    }
    if (m_on)
        widget->setToolTip(text);
}

void PlayerHints::apply(bool on)
{
    m_on = on;
    for (const auto &entry : std::as_const(m_hints)) {
        if (entry.first)
            entry.first->setToolTip(on ? entry.second : QString());
    }
}

QToolButton *PlayerHints::iconButton(const QString &name, const QString &iconName,
                                     const QString &hint, QWidget *parent)
{
    auto *button = new QToolButton(parent);
    button->setObjectName(name);
    button->setIcon(icon(iconName));
    button->setIconSize(QSize(22, 22));
    button->setAutoRaise(true);
    button->setFocusPolicy(Qt::TabFocus);
    add(button, hint);
    return button;
}

QIcon PlayerHints::icon(const QString &name)
{
    return QIcon(QStringLiteral(":/icons/%1.svg").arg(name));
}

} // namespace Orbisong
