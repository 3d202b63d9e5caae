#pragma once

#include "collection/TipList.h"

#include <QDialog>

class QCheckBox;
class QLabel;
class QPushButton;

namespace Orbisong {

struct Settings;

// "Tip Of The Day": one tip at a time, with no title bar of its own; it is dragged by the
// heading it paints at its top.
class TTipOfTheDayForm : public QDialog
{
    Q_OBJECT

public:
    // Opens on tip `startIndex` counted round the list; the box shows the start-up option.
    TTipOfTheDayForm(const TipList &tips, qint64 startIndex, Settings &settings,
                     QWidget *parent = nullptr);

    // The position in the list of the tip shown now.
    int shownTip() const { return m_shown; }
    Tip tip() const { return m_tips.at(m_shown); }
    // Whether `point` (window coordinates) lies in the heading that moves the window.
    bool isHeadingAt(const QPoint &point) const;
    static constexpr int HeadingHeight = 44;

    void showNextTip();

signals:
    // "More": the help topic of the shown tip.
    void helpRequested(const QString &topic);

protected:
    void paintEvent(QPaintEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;

private:
    void closeForm();

    TipList m_tips;
    Settings &m_settings;
    qint64 m_index = 0;
    int m_shown = 0;
    QLabel *m_heading = nullptr;
    QLabel *m_text = nullptr;
    QWidget *m_morePanel = nullptr;
    QPushButton *m_more = nullptr;
    QCheckBox *m_showAtStart = nullptr;
    QPoint m_dragOffset;
    bool m_dragging = false;
};

} // namespace Orbisong
