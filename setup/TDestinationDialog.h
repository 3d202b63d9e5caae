#pragma once

#include "InstallerUi.h"

#include <QDialog>

#include <functional>

class QLabel;
class QLineEdit;
class QPushButton;

namespace Orbisong {

// Asks where to install. The OK handler decides whether the dialog closes, so a refused
// folder can be corrected in place.
class TDestinationDialog : public QDialog
{
    Q_OBJECT
public:
    TDestinationDialog(const QString &title, const QString &folder,
                       std::function<InstallerUi::Verdict(const QString &)> onOk,
                       QWidget *parent = nullptr);

    InstallerUi::DestinationResult outcome() const { return m_outcome; }
    void setNote(const QString &text);

    QLineEdit *folderEdit() const { return m_edit; }
    QPushButton *okButton() const { return m_ok; }
    QPushButton *cancelButton() const { return m_cancel; }

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    void confirm();

    std::function<InstallerUi::Verdict(const QString &)> m_onOk;
    QLineEdit *m_edit;
    QPushButton *m_ok;
    QPushButton *m_cancel;
    QLabel *m_note;
    InstallerUi::DestinationResult m_outcome = InstallerUi::DestinationResult::Closed;
    bool m_busy = false;
};

} // namespace Orbisong
