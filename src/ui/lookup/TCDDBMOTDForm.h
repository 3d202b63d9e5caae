#pragma once

#include <QDialog>

class QCheckBox;
class QPlainTextEdit;
class QPushButton;

namespace Orbisong {

struct Settings;

// "Message From CDDB Server": a server's welcome message, shown once for each new message.
class TCDDBMOTDForm : public QDialog
{
    Q_OBJECT

public:
    TCDDBMOTDForm(const QString &message, bool showOption, QWidget *parent = nullptr);

    // Shows the message of a complete "motd" response when it is long enough and its stamp
    // differs from the stored "Message Date", which it then replaces. The option
    // _GLOB_OPTION_SHOWCDDBMOTD follows the check box afterwards. Returns whether it showed.
    static bool showWelcome(QWidget *player, const QString &response, Settings &settings);

    QPlainTextEdit *MessageText() const { return m_text; }
    QCheckBox *optionBox() const { return m_option; }
    QPushButton *continueButton() const { return m_continue; }

protected:
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;

private:
    bool inCaption(const QPoint &position) const;

    QWidget *m_caption = nullptr;
    QPlainTextEdit *m_text = nullptr;
    QCheckBox *m_option = nullptr;
    QPushButton *m_continue = nullptr;
    QPoint m_dragOffset;
    bool m_dragging = false;
};

} // namespace Orbisong
