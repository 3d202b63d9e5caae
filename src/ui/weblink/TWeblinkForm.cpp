#include "ui/weblink/TWeblinkForm.h"

#include "base/MessageIds.h"
#include "base/QuestionPort.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QVBoxLayout>

namespace Orbisong {

TWeblinkForm::TWeblinkForm(const QString &caption, const QString &explanation, QWidget *parent)
    : QDialog(parent)
{
    setObjectName(QStringLiteral("TWeblinkForm"));
    setWindowTitle(caption);
    auto *page = new QWidget;
    m_explanation = new QLabel(explanation, page);
    m_explanation->setObjectName(QStringLiteral("ExplanationLabel"));
    m_explanation->setTextFormat(Qt::PlainText);
    m_explanation->setWordWrap(true);
    auto *location = new QGroupBox(tr("Location"), page);
    m_title = new QLineEdit(location);
    m_title->setObjectName(QStringLiteral("TitleEdit"));
    m_url = new QLineEdit(location);
    m_url->setObjectName(QStringLiteral("URLEdit"));
    m_getUrl = new QPushButton(tr("Get Current Site"), location);
    m_getUrl->setObjectName(QStringLiteral("GetURL"));
    connect(m_getUrl, &QPushButton::clicked, this, &TWeblinkForm::getCurrentSite);
    auto *fields = new QFormLayout(location);
    fields->addRow(tr("&Title:"), m_title);
    fields->addRow(tr("&URL:"), m_url);
    auto *getRow = new QHBoxLayout;
    getRow->addStretch(1);
    getRow->addWidget(m_getUrl);
    fields->addRow(getRow);
    m_allArtist = new QCheckBox(tr("&Apply this WebLink to all albums by this artist."), page);
    m_allArtist->setObjectName(QStringLiteral("AllArtist"));
    m_allArtist->setEnabled(false);
    auto *pageLayout = new QVBoxLayout(page);
    pageLayout->addWidget(m_explanation);
    pageLayout->addWidget(location);
    pageLayout->addWidget(m_allArtist);
    pageLayout->addStretch(1);

    auto *tabs = new QTabWidget(this);
    tabs->addTab(page, tr("WebLink"));
    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(tabs);
    layout->addWidget(buttons);
    resize(420, sizeHint().height());
}

void TWeblinkForm::setLink(const QString &title, const QString &address)
{
    m_title->setText(title);
    m_url->setText(address);
}

void TWeblinkForm::setAllArtistEnabled(bool enabled)
{
    m_allArtist->setEnabled(enabled);
}

void TWeblinkForm::setAllArtist(bool on)
{
    m_allArtist->setChecked(on);
}

QString TWeblinkForm::title() const
{
    return m_title->text().trimmed();
}

QString TWeblinkForm::address() const
{
    return completeAddress(m_url->text());
}

bool TWeblinkForm::allArtist() const
{
    return m_allArtist->isEnabled() && m_allArtist->isChecked();
}

QString TWeblinkForm::completeAddress(const QString &address)
{
    const QString trimmed = address.trimmed();
    if (trimmed.isEmpty() || trimmed.contains(QLatin1String(":/")))
        return trimmed;
    return QStringLiteral("http://") + trimmed;
}

void TWeblinkForm::getCurrentSite()
{
    QString address;
    QString title;
    if (!m_asker || !m_asker(&address, &title) || address.isEmpty()) {
        askOrDefault(m_questions, Msg::WebBrowserUnavailable);
        return;
    }
    m_url->setText(address);
    m_title->setText(title.isEmpty() ? address : title);
}

} // namespace Orbisong
