#include "ui/export/ExportProgressDialog.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QThread>
#include <QVBoxLayout>

namespace Orbisong {

ExportProgressDialog::ExportProgressDialog(std::shared_ptr<const ExportJob> job,
                                           const QString &formatName, QWidget *parent)
    : QDialog(parent), m_job(std::move(job))
{
    setWindowTitle(tr("Exporting Collection"));
    m_text = new QLabel(
        tr("Orbisong is exporting the selected album(s) in %1 format.").arg(formatName), this);
    m_text->setWordWrap(true);
    m_bar = new QProgressBar(this);
    m_bar->setRange(0, 1000);
    m_bar->setTextVisible(false);
    m_cancel = new QPushButton(tr("Cancel"), this);
    connect(m_cancel, &QPushButton::clicked, this, &ExportProgressDialog::reject);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(m_cancel);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(m_text);
    layout->addWidget(m_bar);
    layout->addLayout(buttons);
    setMinimumWidth(380);
}

ExportProgressDialog::~ExportProgressDialog()
{
    if (m_thread) {
        m_cancelRequested = true;
        m_thread->wait();
        delete m_thread;
    }
}

void ExportProgressDialog::start()
{
    const std::shared_ptr<const ExportJob> job = m_job;
    m_thread = QThread::create([this, job] {
        const auto progress = [this](int permille) {
            QMetaObject::invokeMethod(
                this, [this, permille] { m_bar->setValue(permille); }, Qt::QueuedConnection);
        };
        const ExportResult result = job->run(&m_cancelRequested, progress);
        QMetaObject::invokeMethod(
            this,
            [this, result] {
                m_result = result;
                onDone();
            },
            Qt::QueuedConnection);
    });
    m_thread->start();
}

bool ExportProgressDialog::isRunning() const
{
    return m_thread && m_thread->isRunning();
}

void ExportProgressDialog::reject()
{
    // The worker stops at its next check; the dialog closes when it has.
    m_cancelRequested = true;
    m_cancel->setEnabled(false);
    if (!m_thread)
        QDialog::reject();
}

void ExportProgressDialog::onDone()
{
    m_thread->wait();
    m_bar->setValue(m_bar->maximum());
    emit exportDone();
    if (m_result.cancelled)
        QDialog::reject();
    else
        accept();
}

} // namespace Orbisong
