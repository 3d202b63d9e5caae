#include "ui/album/TAlbumWizard.h"

#include "base/MessageIds.h"
#include "base/QuestionPort.h"
#include "collection/AlbumRecord.h"
#include "collection/Collection.h"
#include "collection/CurrentAlbum.h"
#include "collection/Settings.h"
#include "player/RecognitionSequence.h"
#include "ui/album/AlbumFieldCombo.h"
#include "ui/album/AlbumTrackPane.h"

#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace Orbisong {

namespace {

constexpr int StepCount = 5;

QLabel *wrappedLabel(const QString &text, QWidget *parent)
{
    auto *label = new QLabel(text, parent);
    label->setWordWrap(true);
    return label;
}

QLabel *heading(const QString &text, QWidget *parent)
{
    QLabel *label = wrappedLabel(text, parent);
    QFont font = label->font();
    font.setBold(true);
    label->setFont(font);
    return label;
}

} // namespace

TAlbumWizard::TAlbumWizard(Collection &collection, const Settings &settings, const QString &albumId,
                           QWidget *parent)
    : TWizardForm(tr("Add New Album"), parent), m_collection(collection), m_draft(albumId)
{
    setObjectName(QStringLiteral("TAlbumWizard"));
    m_sourcePane = buildSourcePane(settings);
    m_generalPane = buildGeneralPane();
    m_organizationPane = buildOrganizationPane();
    m_trackPane = new AlbumTrackPane(&m_draft.tracks);
    m_confirmPane = buildConfirmPane();
    int step = 0;
    for (QWidget *pane : {m_sourcePane, m_generalPane, m_organizationPane,
                          static_cast<QWidget *>(m_trackPane), m_confirmPane})
        addPane(pane, ++step, StepCount);
    resize(460, 340);
    fill();
    start();
}

QWidget *TAlbumWizard::buildSourcePane(const Settings &settings)
{
    auto *pane = new QWidget;
    auto *remote = new QPushButton(tr("Internet CDDB Server"), pane);
    remote->setObjectName(QStringLiteral("RemoteLookupButton"));
    auto *local = new QPushButton(tr("Local CDDB Database"), pane);
    local->setObjectName(QStringLiteral("LocalLookupButton"));
    local->setEnabled(!settings.cddbLocalPath.isEmpty() && QDir(settings.cddbLocalPath).exists());
    for (QPushButton *button : {remote, local})
        button->setAutoDefault(false);
    connect(remote, &QPushButton::clicked, this,
            [this] { emit remoteLookupRequested(m_draft.albumId()); });
    connect(local, &QPushButton::clicked, this,
            [this] { emit localLookupRequested(m_draft.albumId()); });
    auto *layout = new QVBoxLayout(pane);
    layout->addWidget(heading(tr("Information Source"), pane));
    layout->addWidget(wrappedLabel(tr("Orbisong does not recognize this album."), pane));
    layout->addWidget(wrappedLabel(tr("You can look the album up in a CDDB database, or click "
                                      "'Next' to enter its information yourself."),
                                   pane));
    layout->addWidget(remote);
    layout->addWidget(local);
    layout->addStretch(1);
    return pane;
}

QLineEdit *TAlbumWizard::addEdit(QWidget *pane, const QString &name)
{
    auto *edit = new QLineEdit(pane);
    edit->setObjectName(name);
    return edit;
}

QWidget *TAlbumWizard::buildGeneralPane()
{
    auto *pane = new QWidget;
    m_artist = new AlbumFieldCombo(&m_collection, FieldChoices::Artist, pane);
    m_artist->setObjectName(QStringLiteral("ArtistCombo"));
    m_title = addEdit(pane, QStringLiteral("TitleEdit"));
    m_copyright = addEdit(pane, QStringLiteral("CopyrightEdit"));
    m_year = addEdit(pane, QStringLiteral("YearEdit"));
    m_lastNameFirst = new QCheckBox(tr("Alphabetize &last name first."), pane);
    m_lastNameFirst->setObjectName(QStringLiteral("LastNameCheck"));
    auto *layout = new QVBoxLayout(pane);
    layout->addWidget(heading(tr("General Information"), pane));
    auto *form = new QFormLayout;
    form->addRow(tr("&Artist:"), m_artist);
    form->addRow(tr("&Title:"), m_title);
    form->addRow(tr("&Copyright:"), m_copyright);
    form->addRow(tr("&Year:"), m_year);
    form->addRow(QString(), m_lastNameFirst);
    layout->addLayout(form);
    layout->addStretch(1);
    return pane;
}

QWidget *TAlbumWizard::buildOrganizationPane()
{
    auto *pane = new QWidget;
    m_category = new AlbumFieldCombo(&m_collection, FieldChoices::Category, pane);
    m_category->setObjectName(QStringLiteral("CategoryCombo"));
    m_binder = new AlbumFieldCombo(&m_collection, FieldChoices::Binder, pane);
    m_binder->setObjectName(QStringLiteral("BinderCombo"));
    m_owner = new AlbumFieldCombo(&m_collection, FieldChoices::Owner, pane);
    m_owner->setObjectName(QStringLiteral("OwnerCombo"));
    m_index = addEdit(pane, QStringLiteral("IndexEdit"));
    auto *layout = new QVBoxLayout(pane);
    layout->addWidget(heading(tr("Organizational Information"), pane));
    auto *form = new QFormLayout;
    form->addRow(tr("Cate&gory:"), m_category);
    form->addRow(tr("&Binder:"), m_binder);
    form->addRow(tr("O&wner:"), m_owner);
    form->addRow(tr("&Index:"), m_index);
    layout->addLayout(form);
    layout->addStretch(1);
    return pane;
}

QWidget *TAlbumWizard::buildConfirmPane()
{
    auto *pane = new QWidget;
    m_submit = new QCheckBox(tr("Submit information to the CDDB database."), pane);
    m_submit->setObjectName(QStringLiteral("SubmitCheck"));
    auto *layout = new QVBoxLayout(pane);
    layout->addWidget(heading(tr("Confirm"), pane));
    layout->addWidget(wrappedLabel(tr("Orbisong now has all the information it needs to add "
                                      "this album to your collection."),
                                   pane));
    layout->addWidget(m_submit);
    layout->addStretch(1);
    return pane;
}

void TAlbumWizard::fill()
{
    m_artist->setText(m_draft.artist);
    m_title->setText(m_draft.title);
    m_copyright->setText(m_draft.copyright);
    m_year->setText(m_draft.year);
    m_lastNameFirst->setChecked(m_draft.lastNameFirst);
    m_category->setText(m_draft.category);
    m_binder->setText(m_draft.binder);
    m_owner->setText(m_draft.owner);
    m_index->setText(m_draft.index);
    m_trackPane->showTrack(0);
}

void TAlbumWizard::collect()
{
    m_draft.artist = m_artist->text();
    m_draft.title = m_title->text();
    m_draft.copyright = m_copyright->text();
    m_draft.year = m_year->text();
    m_draft.lastNameFirst = m_lastNameFirst->isChecked();
    m_draft.category = m_category->text();
    m_draft.binder = m_binder->text();
    m_draft.owner = m_owner->text();
    m_draft.index = m_index->text();
}

QWidget *TAlbumWizard::focusControl(QWidget *pane)
{
    if (pane == m_generalPane)
        return m_artist;
    if (pane == m_organizationPane)
        return m_category;
    if (pane == m_trackPane)
        return m_trackPane->titleEdit();
    return TWizardForm::focusControl(pane);
}

void TAlbumWizard::lookupFinished(int result)
{
    if (result == RecognitionSequence::NotFound)
        askOrDefault(m_questions, Msg::AlbumNotFoundEnterManually);
}

// A found entry is taken whole; it came from the database, so it is not offered back to it.
void TAlbumWizard::takeEntry(const CddbAlbumFields &fields)
{
    collect();
    m_draft.takeEntry(fields.revision, fields.artist, fields.title, fields.category, fields.source,
                      fields.trackTitles, fields.extendedTrackData);
    fill();
    m_submit->setChecked(false);
    m_submit->setEnabled(false);
    showPane(m_confirmPane);
}

void TAlbumWizard::finish()
{
    collect();
    m_draft.finish(m_collection);
    const CurrentAlbum *current = m_collection.currentAlbum();
    const bool inDrive = current && current->disc.id.compare(albumId(), Qt::CaseInsensitive) == 0;
    if (m_submit->isEnabled() && m_submit->isChecked()) {
        QApplication::setOverrideCursor(Qt::WaitCursor);
        if (inDrive)
            WriteAlbumInfo(m_collection, false);
        emit submitRequested(albumId());
        QApplication::restoreOverrideCursor();
    }
    accept();
}

} // namespace Orbisong
