#include "ui/export/TExportWizard.h"

#include "collection/Settings.h"
#include "export/TemplateList.h"
#include "ui/export/ExportAlbumList.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace Orbisong {

namespace {

constexpr int Steps = 6;

// A pane with its heading and explanation over its controls.
QWidget *newPane(const QString &heading, const QString &text, QVBoxLayout **body)
{
    auto *pane = new QWidget;
    auto *layout = new QVBoxLayout(pane);
    auto *title = new QLabel(heading, pane);
    QFont font = title->font();
    font.setBold(true);
    font.setPointSizeF(font.pointSizeF() * 1.3);
    title->setFont(font);
    auto *explanation = new QLabel(text, pane);
    explanation->setWordWrap(true);
    layout->addWidget(title);
    layout->addWidget(explanation);
    layout->addSpacing(8);
    *body = layout;
    return pane;
}

const QStringList &kindWords()
{
    static const QStringList words = {QStringLiteral("artist"), QStringLiteral("binder"),
                                      QStringLiteral("category"), QStringLiteral("owner"),
                                      QStringLiteral("year")};
    return words;
}

} // namespace

void TExportWizard::buildProfilePane()
{
    QVBoxLayout *body = nullptr;
    m_profilePane = newPane(
        tr("Export Album Information"),
        tr("This wizard writes the albums of your collection as web pages, as a database file "
           "for spreadsheets, or as a collection file for another computer. Choose a saved "
           "profile to repeat an earlier export, or (None) to make your choices."),
        &body);
    m_profileCombo = new QComboBox(m_profilePane);
    m_profileCombo->setObjectName(QStringLiteral("ProfileCombo"));
    QStringList entries = m_settings.exportProfiles;
    ExportProfiles::sort(entries);
    m_profileCombo->addItem(tr("(None)"));
    m_profileCombo->addItems(ExportProfiles::names(entries));
    auto *form = new QFormLayout;
    form->addRow(tr("&Profile:"), m_profileCombo);
    body->addLayout(form);
    body->addStretch(1);
    addPane(m_profilePane, 1, Steps);
}

void TExportWizard::buildAlbumsPane(int groupKind, const QString &groupValue)
{
    QVBoxLayout *body = nullptr;
    m_albumsPane = newPane(tr("Choose Albums"), tr("Which albums do you want to export?"), &body);
    m_all = new QRadioButton(tr("Export &all albums in the collection."), m_albumsPane);
    const bool grouped = groupKind >= 0 && groupKind < kindWords().size();
    const QString value = groupValue.isEmpty() ? QStringLiteral("(None)") : groupValue;
    m_group = new QRadioButton(
        tr("Export a&lbums with ") + (grouped ? kindWords().at(groupKind) : QString()) +
            QStringLiteral(" \"") + (grouped ? value : QString()) + QStringLiteral("\"."),
        m_albumsPane);
    m_group->setEnabled(grouped);
    m_listed = new QRadioButton(tr("Export &these albums:"), m_albumsPane);
    m_albumList = new ExportAlbumList(m_collection, m_albumsPane);
    m_albumList->setObjectName(QStringLiteral("AlbumList"));
    m_albumList->setToolTip(tr("Drop albums here from the collection window; Delete removes "
                               "the selected ones."));
    auto *group = new QButtonGroup(m_albumsPane);
    for (QRadioButton *choice : {m_all, m_group, m_listed}) {
        group->addButton(choice);
        body->addWidget(choice);
    }
    body->addWidget(m_albumList, 1);
    m_all->setChecked(true);
    m_albumList->setEnabled(false);
    connect(m_listed, &QRadioButton::toggled, m_albumList, &QWidget::setEnabled);
    addPane(m_albumsPane, 2, Steps);
}

void TExportWizard::buildFormatPane()
{
    QVBoxLayout *body = nullptr;
    m_formatPane =
        newPane(tr("Export Format"), tr("In which format do you want the albums?"), &body);
    m_formatObc =
        new QRadioButton(tr("&Orbisong Collection (for transporting albums)."), m_formatPane);
    m_formatAscii = new QRadioButton(tr("&ASCII Database (for database programs)."), m_formatPane);
    m_formatHtml =
        new QRadioButton(tr("&HTML Document (for World Wide Web browsers)."), m_formatPane);
    auto *group = new QButtonGroup(m_formatPane);
    for (QRadioButton *choice : {m_formatObc, m_formatAscii, m_formatHtml}) {
        group->addButton(choice);
        body->addWidget(choice);
    }
    m_formatHtml->setChecked(true);
    body->addStretch(1);
    addPane(m_formatPane, 3, Steps);
}

QComboBox *TExportWizard::delimiterBox(const QString &text)
{
    auto *box = new QComboBox(m_asciiPane);
    box->setEditable(true);
    box->addItems({QStringLiteral("<tab>"), QStringLiteral("<ret>")});
    box->setEditText(text);
    return box;
}

void TExportWizard::buildAsciiPane()
{
    QVBoxLayout *body = nullptr;
    m_asciiPane = newPane(tr("ASCII Database"),
                          tr("Each album becomes one record of delimited fields: artist, title, "
                             "category, owner and year."),
                          &body);
    m_tracks = new QCheckBox(tr("&Include track titles."), m_asciiPane);
    const ExportProfile defaults;
    m_trackDelimiter = delimiterBox(defaults.trackDelimiter);
    m_trackDelimiter->setObjectName(QStringLiteral("TrackDelimiter"));
    m_fieldDelimiter = delimiterBox(defaults.fieldDelimiter);
    m_fieldDelimiter->setObjectName(QStringLiteral("FieldDelimiter"));
    m_recordDelimiter = delimiterBox(defaults.recordDelimiter);
    m_recordDelimiter->setObjectName(QStringLiteral("RecordDelimiter"));
    auto *form = new QFormLayout;
    form->addRow(m_tracks);
    form->addRow(tr("&Track delimiter:"), m_trackDelimiter);
    form->addRow(tr("&Field delimiter:"), m_fieldDelimiter);
    form->addRow(tr("&Record delimiter:"), m_recordDelimiter);
    body->addLayout(form);
    body->addStretch(1);
    addPane(m_asciiPane, 4, Steps);
}

void TExportWizard::buildHtmlPane()
{
    QVBoxLayout *body = nullptr;
    m_htmlPane =
        newPane(tr("HTML Document"),
                tr("The template decides which pages are written and how they look."), &body);
    m_template = new QComboBox(m_htmlPane);
    m_template->setObjectName(QStringLiteral("HTMLTemplate"));
    for (const TemplateEntry &entry : availableTemplates())
        m_template->addItem(entry.name, entry.path);
    auto *form = new QFormLayout;
    form->addRow(tr("&Template:"), m_template);
    body->addLayout(form);
    body->addStretch(1);
    addPane(m_htmlPane, 4, Steps);
}

void TExportWizard::buildFilePane()
{
    QVBoxLayout *body = nullptr;
    m_filePane = newPane(tr("Destination File"),
                         tr("Where do you want the exported album data saved?"), &body);
    m_file = new QLineEdit(m_filePane);
    m_file->setObjectName(QStringLiteral("File"));
    auto *browse = new QPushButton(tr("B&rowse..."), m_filePane);
    connect(browse, &QPushButton::clicked, this, &TExportWizard::browseFile);
    auto *row = new QHBoxLayout;
    row->addWidget(m_file, 1);
    row->addWidget(browse);
    body->addLayout(row);
    body->addStretch(1);
    addPane(m_filePane, 5, Steps);
}

void TExportWizard::buildFolderPane()
{
    QVBoxLayout *body = nullptr;
    m_folderPane = newPane(tr("Destination Folder"),
                           tr("In which folder do you want the web pages written?"), &body);
    m_location = new QLineEdit(m_folderPane);
    m_location->setObjectName(QStringLiteral("Location"));
    auto *browse = new QPushButton(tr("B&rowse..."), m_folderPane);
    connect(browse, &QPushButton::clicked, this, &TExportWizard::browseFolder);
    auto *row = new QHBoxLayout;
    row->addWidget(m_location, 1);
    row->addWidget(browse);
    body->addLayout(row);
    body->addStretch(1);
    addPane(m_folderPane, 5, Steps);
}

void TExportWizard::buildConfirmPane()
{
    QVBoxLayout *body = nullptr;
    m_confirmPane = newPane(tr("Confirm"),
                            tr("Press Finish to export. To repeat this export later, save "
                               "your choices as a profile."),
                            &body);
    m_confirmText = new QLabel(m_confirmPane);
    m_confirmText->setWordWrap(true);
    m_confirmText->setTextFormat(Qt::PlainText);
    body->addWidget(m_confirmText);
    m_saveName = new QLineEdit(m_confirmPane);
    m_saveName->setObjectName(QStringLiteral("SaveName"));
    auto *form = new QFormLayout;
    form->addRow(tr("&Save this profile as:"), m_saveName);
    body->addLayout(form);
    body->addStretch(1);
    addPane(m_confirmPane, 6, Steps);
}

} // namespace Orbisong
