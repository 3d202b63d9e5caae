#pragma once

#include <QDialog>

class QLabel;
class QLineEdit;

namespace Orbisong {

// Asks for one line of text under a prompt, with "OK" and "Cancel".
class TInputForm : public QDialog
{
    Q_OBJECT

public:
    TInputForm(const QString &caption, const QString &prompt, const QString &text,
               QWidget *parent = nullptr);

    // Shows the window modally; true when "OK" was chosen, `text` then holds the edited text.
    static bool ask(QWidget *parent, const QString &caption, const QString &prompt, QString *text);

    QString text() const;
    QLineEdit *edit() const { return m_edit; }
    QLabel *prompt() const { return m_prompt; }

private:
    QLabel *m_prompt = nullptr;
    QLineEdit *m_edit = nullptr;
};

} // namespace Orbisong
