#pragma once

#include <QWidget>

#include <functional>

class QLabel;
class QScrollBar;

namespace Orbisong {

// A small borderless strip under the time button to move within the current step.
class TPositionForm : public QWidget
{
    Q_OBJECT

public:
    // `labelFor` gives the label text for a scroll position in seconds.
    TPositionForm(int rangeSeconds, int positionSeconds, std::function<QString(int)> labelFor,
                  QWidget *parent = nullptr);

    QScrollBar *scroll() const { return m_scroll; }
    QLabel *label() const { return m_label; }

signals:
    // The user finished scrolling: at the right end `atEnd` is set.
    void positionChosen(int seconds, bool atEnd);

protected:
    bool event(QEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;

private:
    void finish(int seconds);

    QLabel *m_label = nullptr;
    QScrollBar *m_scroll = nullptr;
    std::function<QString(int)> m_labelFor;
    bool m_finished = false;
};

} // namespace Orbisong
