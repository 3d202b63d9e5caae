#pragma once

#include <QList>
#include <QPair>
#include <QPointer>
#include <QString>

class QIcon;
class QToolButton;
class QWidget;

namespace Orbisong {

// The hints (tooltips) of the player's widgets, shown or hidden together as the settings
// say, and kept while hidden so that they come back with their latest text.
class PlayerHints
{
public:
    void add(QWidget *widget, const QString &text);
    // Changes a widget's hint; it shows at once when hints are on.
    void setText(QWidget *widget, const QString &text);
    void apply(bool on);
    bool isOn() const { return m_on; }

    // A flat icon button of the player carrying a hint.
    QToolButton *iconButton(const QString &name, const QString &icon, const QString &hint,
                            QWidget *parent);
    // One of the player's icons, by the name of its picture.
    static QIcon icon(const QString &name);

private:
    QList<QPair<QPointer<QWidget>, QString>> m_hints;
    bool m_on = true;
};

} // namespace Orbisong
