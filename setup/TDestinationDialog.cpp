#include "TDestinationDialog.h"

#include <QCloseEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace Orbisong {

namespace {
constexpr int MaximumFolderLength = 259;
}

TDestinationDialog::TDestinationDialog(const QString &title, const QString &folder,
                                       std::function<InstallerUi::Verdict(const QString &)> onOk,
                                       QWidget *parent)
    : QDialog(parent), m_onOk(std::move(onOk)), m_edit(new QLineEdit(this)),
      m_ok(new QPushButton(tr("OK"), this)), m_cancel(new QPushButton(tr("Cancel"), this)),
      m_note(new QLabel(this))
{
    setWindowTitle(title);
    setObjectName(QStringLiteral("destinationDialog"));
    auto *intro = new QLabel(tr("Setup will install Arcwell into the following folder, which "
                                "it will create if necessary."),
                             this);
    auto *hint = new QLabel(tr("If you want to install Arcwell in a different folder and/or "
                               "drive, type the name of the folder below:"),
                            this);
    intro->setWordWrap(true);
    hint->setWordWrap(true);
    auto *label = new QLabel(tr("&Install to:"), this);
    label->setBuddy(m_edit);
    m_edit->setMaxLength(MaximumFolderLength);
    m_edit->setText(folder.left(MaximumFolderLength));
    m_edit->setObjectName(QStringLiteral("folder"));
    m_note->setWordWrap(true);
    m_note->setObjectName(QStringLiteral("note"));
    m_ok->setDefault(true);

    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(m_ok);
    buttons->addWidget(m_cancel);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(intro);
    layout->addWidget(hint);
    layout->addWidget(label);
    layout->addWidget(m_edit);
    layout->addWidget(m_note);
    layout->addLayout(buttons);

    m_ok->setEnabled(!m_edit->text().isEmpty());
    connect(m_edit, &QLineEdit::textChanged, this,
            [this](const QString &text) { m_ok->setEnabled(!text.isEmpty()); });
    connect(m_ok, &QPushButton::clicked, this, &TDestinationDialog::confirm);
    connect(m_cancel, &QPushButton::clicked, this, [this] {
        if (m_busy)
            return;
        m_outcome = InstallerUi::DestinationResult::Cancelled;
        done(2);
    });
}

void TDestinationDialog::setNote(const QString &text)
{
    m_note->setText(text);
}

void TDestinationDialog::confirm()
{
    if (m_busy || m_edit->text().isEmpty())
        return;
    // The handler may wait for the shell extension; a second click must not start another
    // check meanwhile.
    m_busy = true;
    m_ok->setEnabled(false);
    const InstallerUi::Verdict verdict = m_onOk(m_edit->text());
    m_busy = false;
    m_ok->setEnabled(!m_edit->text().isEmpty());
    if (verdict == InstallerUi::Verdict::Close) {
        m_outcome = InstallerUi::DestinationResult::Accepted;
        done(1);
    }
}

void TDestinationDialog::closeEvent(QCloseEvent *event)
{
    if (m_busy) {
        event->ignore();
        return;
    }
    QDialog::closeEvent(event);
}

} // namespace Orbisong
