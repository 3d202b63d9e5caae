#pragma once

#include "export/ExportJob.h"

#include <QDialog>

#include <atomic>
#include <memory>

class QLabel;
class QProgressBar;
class QPushButton;
class QThread;

namespace Orbisong {

// "Exporting Collection": runs an export on a worker thread, shows how far it got and
// cancels it on request, so the window stays responsive however large the collection.
class ExportProgressDialog : public QDialog
{
    Q_OBJECT

public:
    ExportProgressDialog(std::shared_ptr<const ExportJob> job, const QString &formatName,
                         QWidget *parent = nullptr);
    // Cancels a run still going and waits for it.
    ~ExportProgressDialog() override;

    void start();
    bool isRunning() const;
    ExportResult result() const { return m_result; }

    QProgressBar *progressBar() const { return m_bar; }
    QPushButton *cancelButton() const { return m_cancel; }
    QLabel *textLabel() const { return m_text; }

    // Cancel: the run stops at its next check and the window closes once it has.
    void reject() override;

signals:
    // The run ended, finished or cancelled; result() tells which.
    void exportDone();

private:
    void onDone();

    std::shared_ptr<const ExportJob> m_job;
    std::atomic_bool m_cancelRequested = false;
    QThread *m_thread = nullptr;
    ExportResult m_result;
    QLabel *m_text;
    QProgressBar *m_bar;
    QPushButton *m_cancel;
};

} // namespace Orbisong
