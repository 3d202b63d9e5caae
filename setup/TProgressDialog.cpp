#include "TProgressDialog.h"

#include "TMeter.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace Orbisong {

namespace {

// The meter counts in tens of kilobytes, which keeps its range small for any disk.
int meterUnits(qint64 bytes)
{
    return int(std::min<qint64>((bytes >> 10) / 10, std::numeric_limits<int>::max()));
}

} // namespace

TProgressDialog::TProgressDialog(const QString &title, qint64 totalBytes,
                                 std::function<bool()> confirmCancel, QWidget *parent)
    : QDialog(parent), m_confirmCancel(std::move(confirmCancel)), m_meter(new TMeter(this)),
      m_source(new QLabel(this)), m_file(new QLabel(this)),
      m_cancel(new QPushButton(tr("&Cancel"), this))
{
    setWindowTitle(title);
    setObjectName(QStringLiteral("progressDialog"));
    setModal(false);
    m_meter->setRange(meterUnits(totalBytes));
    m_source->setObjectName(QStringLiteral("source"));
    m_file->setObjectName(QStringLiteral("file"));
    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(m_cancel);
    buttons->addStretch();
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(m_source);
    layout->addWidget(m_file);
    layout->addWidget(m_meter);
    layout->addLayout(buttons);
    connect(m_cancel, &QPushButton::clicked, this, &TProgressDialog::reject);
}

void TProgressDialog::setSource(const QString &text)
{
    m_source->setText(text);
}

void TProgressDialog::setCurrentFile(const QString &text)
{
    m_file->setText(text);
}

bool TProgressDialog::advance(qint64 bytes)
{
    m_done += bytes;
    m_meter->setPosition(meterUnits(m_done));
    return !m_cancelled;
}

void TProgressDialog::reject()
{
    // Closing the window counts as a cancel too; the dialog itself stays until the install
    // sequence closes it.
    if (m_cancelled || m_asking)
        return;
    m_asking = true;
    m_cancelled = m_confirmCancel();
    m_asking = false;
}

} // namespace Orbisong
