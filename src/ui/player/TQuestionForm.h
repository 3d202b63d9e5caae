#pragma once

#include "base/MessageText.h"
#include "base/QuestionPort.h"

#include <QDialog>
#include <QPointer>

#include <functional>

class QLabel;
class QPushButton;

namespace Orbisong {

// The program's one message box: borderless, dragged by its top strip, modal.
class TQuestionForm : public QDialog
{
    Q_OBJECT

public:
    TQuestionForm(const MessageText &message, QWidget *owner);

    QPushButton *button(MessageButton which) const;
    const MessageText &message() const { return m_message; }

protected:
    void keyPressEvent(QKeyEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void paintEvent(QPaintEvent *event) override;
    void showEvent(QShowEvent *event) override;

private:
    void placeOverOwner();

    MessageText m_message;
    QPointer<QWidget> m_owner;
    QList<QPair<MessageButton, QPushButton *>> m_buttons;
    QPoint m_dragOffset;
    bool m_dragging = false;
};

// Shows questions in TQuestionForm windows over `owner`. `suspendTopMost` is told when a box
// opens (true) and closes (false), so a floating player does not hide it.
class WidgetQuestionPort : public QuestionPort
{
public:
    WidgetQuestionPort(QWidget *owner, std::function<void(bool)> suspendTopMost = {});
    int ask(int id, const QString &text1, const QString &text2, const QString &text3) override;

private:
    QPointer<QWidget> m_owner;
    std::function<void(bool)> m_suspendTopMost;
};

} // namespace Orbisong
