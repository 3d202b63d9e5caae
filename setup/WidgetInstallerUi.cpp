#include "WidgetInstallerUi.h"

#include "SetupStrings.h"
#include "TDestinationDialog.h"
#include "TProgressDialog.h"

#include <QApplication>
#include <QEventLoop>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>

namespace Orbisong {

WidgetInstallerUi::WidgetInstallerUi() = default;

WidgetInstallerUi::~WidgetInstallerUi()
{
    closeProgress();
}

int WidgetInstallerUi::showMessage(const QString &title, const QString &text, Buttons buttons)
{
    m_title = title;
    const bool question = buttons == Buttons::YesNo;
    QMessageBox box(question ? QMessageBox::Question : QMessageBox::Information, title, text,
                    question ? (QMessageBox::Yes | QMessageBox::No) : QMessageBox::Ok,
                    QApplication::activeWindow());
    if (m_automation.active()) {
        m_automation.record(title, text);
        const QMessageBox::StandardButton answer =
            !question ? QMessageBox::Ok
                      : (m_automation.nextAnswer() ? QMessageBox::Yes : QMessageBox::No);
        QTimer::singleShot(0, &box, [&box, answer] { box.button(answer)->click(); });
    }
    switch (box.exec()) {
    case QMessageBox::Yes:
        return AnswerYes;
    case QMessageBox::No:
        return AnswerNo;
    default:
        return AnswerOk;
    }
}

void WidgetInstallerUi::answerDestination()
{
    if (!m_destination)
        return;
    const QString next = m_automation.nextDestination();
    if (next == QLatin1String("<cancel>")) {
        m_destination->cancelButton()->click();
    } else if (next == QLatin1String("<close>")) {
        m_destination->close();
    } else {
        if (next != QLatin1String("<keep>"))
            m_destination->folderEdit()->setText(next);
        m_destination->okButton()->click();
        // A refused folder leaves the dialog open for the next try.
        if (m_destination && m_destination->isVisible())
            QTimer::singleShot(0, m_destination, [this] { answerDestination(); });
    }
}

InstallerUi::DestinationResult
WidgetInstallerUi::askDestination(const QString &folder,
                                  const std::function<Verdict(const QString &)> &onOk)
{
    TDestinationDialog dialog(SetupStrings::text(SetupStrings::Title), folder, onOk);
    m_destination = &dialog;
    if (m_automation.active())
        QTimer::singleShot(0, &dialog, [this] { answerDestination(); });
    dialog.exec();
    m_destination = nullptr;
    return dialog.outcome();
}

void WidgetInstallerUi::setDestinationNote(const QString &text)
{
    if (m_destination)
        m_destination->setNote(text);
}

void WidgetInstallerUi::setBusy(bool busy)
{
    if (!m_destination)
        return;
    if (busy)
        m_destination->setCursor(Qt::WaitCursor);
    else
        m_destination->unsetCursor();
}

void WidgetInstallerUi::wait(int milliseconds)
{
    QEventLoop loop;
    QTimer::singleShot(milliseconds, &loop, &QEventLoop::quit);
    loop.exec();
}

void WidgetInstallerUi::openProgress(const QString &title, qint64 totalBytes)
{
    closeProgress();
    m_progress = new TProgressDialog(title, totalBytes, [this] {
        return showMessage(SetupStrings::text(SetupStrings::Title),
                           SetupStrings::text(SetupStrings::ConfirmCancel),
                           Buttons::YesNo) == AnswerYes;
    });
    m_progress->show();
    QApplication::processEvents();
}

void WidgetInstallerUi::setSource(const QString &text)
{
    if (m_progress)
        m_progress->setSource(text);
}

void WidgetInstallerUi::setCurrentFile(const QString &text)
{
    if (!m_progress)
        return;
    m_progress->setCurrentFile(text);
    if (m_automation.active() && text == m_automation.cancelAtFile())
        QTimer::singleShot(0, m_progress, [this] { m_progress->cancelButton()->click(); });
}

bool WidgetInstallerUi::advance(qint64 bytes)
{
    if (!m_progress)
        return true;
    // Let the window repaint and its Cancel button work during long copies.
    QApplication::processEvents();
    return m_progress->advance(bytes);
}

void WidgetInstallerUi::closeProgress()
{
    delete m_progress;
    m_progress = nullptr;
}

} // namespace Orbisong
