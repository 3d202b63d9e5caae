#pragma once

#include <QDialog>
#include <QList>

class QPushButton;
class QStackedWidget;

namespace Orbisong {

// The frame of every wizard: a stack of panes, one visible, over "< &Back", "&Next >",
// "Finish" and "Cancel". Subclasses add their panes and decide the way through them by
// overriding the virtual steps; the frame keeps the buttons and the caption in step.
class TWizardForm : public QDialog
{
    Q_OBJECT

public:
    explicit TWizardForm(const QString &caption, QWidget *parent = nullptr);

    // Adds a pane at the end of the stack. A pane with a step number shows "<caption> - Step
    // <step> of <total>" while it is visible; 0 leaves the caption plain.
    void addPane(QWidget *pane, int step = 0, int total = 0);
    // Hides the visible pane and shows `pane`, with the buttons and caption set for it.
    void showPane(QWidget *pane);
    // Shows the first pane; wizards call it once their panes are built and filled.
    void start();
    QWidget *currentPane() const;
    QList<QWidget *> panes() const { return m_panes; }

    QPushButton *backButton() const { return m_back; }
    QPushButton *nextButton() const { return m_next; }
    QPushButton *finishButton() const { return m_finish; }
    QPushButton *cancelButton() const { return m_cancel; }

    // The step tag of a pane: total steps in the upper 16 bits, its own step in the lower.
    static int paneTag(const QWidget *pane);

protected:
    // The pane after `pane`, or the first pane when `pane` is nullptr. Default: stack order.
    virtual QWidget *nextPane(QWidget *pane);
    // The pane before `pane`. Default: stack order.
    virtual QWidget *previousPane(QWidget *pane);
    // The control that takes the focus when `pane` is shown. Default: the pane's first.
    virtual QWidget *focusControl(QWidget *pane);
    // Whether "&Next >" is offered on `pane` (else "Finish" is). Default: not the last pane.
    virtual bool hasNextPane(QWidget *pane);
    // Whether "< &Back" is enabled on `pane`. Default: not the first pane.
    virtual bool allowsBack(QWidget *pane);
    // Called when "&Next >" is pressed on `pane`; false keeps the wizard on the pane (for
    // checks that show their own message).
    virtual bool leavePane(QWidget *pane);
    // "Finish": by default the wizard closes accepted.
    virtual void finish();

private:
    void goNext();
    void goBack();
    void updateCaption(QWidget *pane);

    QString m_caption;
    QList<QWidget *> m_panes;
    QStackedWidget *m_stack = nullptr;
    QPushButton *m_back = nullptr;
    QPushButton *m_next = nullptr;
    QPushButton *m_finish = nullptr;
    QPushButton *m_cancel = nullptr;
};

} // namespace Orbisong
