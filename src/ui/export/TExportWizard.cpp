#include "ui/export/TExportWizard.h"

#include "base/MessageIds.h"
#include "base/MessageText.h"
#include "base/QuestionPort.h"
#include "collection/Settings.h"
#include "export/ExportAlbums.h"
#include "ui/export/ExportAlbumList.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>

namespace Orbisong {

TExportWizard::TExportWizard(Collection &collection, Settings &settings, QuestionPort *questions,
                             int groupKind, const QString &groupValue, QWidget *parent)
    : TWizardForm(tr("Export"), parent), m_collection(collection), m_settings(settings),
      m_questions(questions), m_groupKind(groupKind), m_groupValue(groupValue)
{
    buildProfilePane();
    buildAlbumsPane(groupKind, groupValue);
    buildFormatPane();
    buildAsciiPane();
    buildHtmlPane();
    buildFilePane();
    buildFolderPane();
    buildConfirmPane();
    m_fileChooser = [this](QWidget *parent, const QString &current) {
        const bool ascii = m_formatAscii->isChecked();
        QFileDialog dialog(parent, tr("Export"), current,
                           ascii ? tr("ASCII Database Files (*.txt *.TXT)")
                                 : tr("Orbisong Collection Files (*.obc *.OBC)"));
        dialog.setAcceptMode(QFileDialog::AcceptSave);
        dialog.setDefaultSuffix(ascii ? QStringLiteral("TXT") : QStringLiteral("OBC"));
        return dialog.exec() == QDialog::Accepted ? dialog.selectedFiles().value(0) : QString();
    };
    m_folderChooser = [](QWidget *parent, const QString &current) {
        return QFileDialog::getExistingDirectory(parent, tr("Choose Destination Folder"), current);
    };
    resize(560, 420);
    start();
}

ExportProfile TExportWizard::profile() const
{
    ExportProfile p;
    p.flags = m_all->isChecked()     ? ExportAllAlbums
              : m_group->isChecked() ? ExportGroupAlbums
                                     : ExportListedAlbums;
    if (m_tracks->isChecked())
        p.flags |= ExportTrackTitles;
    p.flags |= m_formatObc->isChecked()     ? ExportFormatCollection
               : m_formatAscii->isChecked() ? ExportFormatAscii
                                            : ExportFormatHtml;
    p.albumIds = m_albumList->albumIds();
    p.templateName = m_template->currentText();
    p.outputFile = m_file->text().trimmed();
    p.outputFolder = m_location->text().trimmed();
    p.trackDelimiter = m_trackDelimiter->currentText();
    p.fieldDelimiter = m_fieldDelimiter->currentText();
    p.recordDelimiter = m_recordDelimiter->currentText();
    p.groupKind = m_groupKind;
    p.groupValue = m_groupValue;
    return p;
}

QString TExportWizard::templatePath() const
{
    return m_template->currentData().toString();
}

void TExportWizard::applyProfile(const ExportProfile &p)
{
    // A profile saved with another grouping keeps it; the window's is offered otherwise.
    if (p.flags & ExportGroupAlbums) {
        m_groupKind = p.groupKind;
        m_groupValue = p.groupValue;
    }
    (p.flags & ExportListedAlbums)  ? m_listed->setChecked(true)
    : (p.flags & ExportGroupAlbums) ? m_group->setChecked(true)
                                    : m_all->setChecked(true);
    m_albumList->setAlbumIds(p.albumIds);
    p.isCollection() ? m_formatObc->setChecked(true)
    : p.isAscii()    ? m_formatAscii->setChecked(true)
                     : m_formatHtml->setChecked(true);
    m_tracks->setChecked(p.flags & ExportTrackTitles);
    m_trackDelimiter->setEditText(p.trackDelimiter);
    m_fieldDelimiter->setEditText(p.fieldDelimiter);
    m_recordDelimiter->setEditText(p.recordDelimiter);
    const int at = m_template->findText(p.templateName, Qt::MatchFixedString);
    if (at >= 0)
        m_template->setCurrentIndex(at);
    m_file->setText(p.outputFile);
    m_location->setText(p.outputFolder);
}

QWidget *TExportWizard::nextPane(QWidget *pane)
{
    if (!pane)
        return m_profilePane;
    if (pane == m_profilePane) {
        ExportProfile saved;
        if (m_profileCombo->currentIndex() > 0 &&
            ExportProfiles::find(m_settings.exportProfiles, m_profileCombo->currentText(),
                                 &saved)) {
            applyProfile(saved);
            m_saveName->setText(m_profileCombo->currentText());
            updateConfirmText();
            return m_confirmPane;
        }
        return m_albumsPane;
    }
    if (pane == m_albumsPane)
        return m_formatPane;
    if (pane == m_formatPane) {
        return m_formatObc->isChecked()     ? m_filePane
               : m_formatAscii->isChecked() ? m_asciiPane
                                            : m_htmlPane;
    }
    if (pane == m_asciiPane)
        return m_filePane;
    if (pane == m_htmlPane)
        return m_folderPane;
    if (pane == m_filePane || pane == m_folderPane) {
        updateConfirmText();
        return m_confirmPane;
    }
    return nullptr;
}

QWidget *TExportWizard::previousPane(QWidget *pane)
{
    if (pane == m_albumsPane)
        return m_profilePane;
    if (pane == m_formatPane)
        return m_albumsPane;
    if (pane == m_asciiPane || pane == m_htmlPane)
        return m_formatPane;
    if (pane == m_filePane)
        return m_formatObc->isChecked() ? m_formatPane : m_asciiPane;
    if (pane == m_folderPane)
        return m_htmlPane;
    if (pane == m_confirmPane)
        return m_formatHtml->isChecked() ? m_folderPane : m_filePane;
    return nullptr;
}

bool TExportWizard::leavePane(QWidget *pane)
{
    if (pane == m_albumsPane)
        return leaveAlbums();
    if (pane == m_htmlPane && !QFileInfo(templatePath()).isFile()) {
        askOrDefault(m_questions, Msg::NoExportTemplate);
        return false;
    }
    if (pane == m_folderPane)
        return leaveFolder();
    if (pane == m_filePane && m_file->text().trimmed().isEmpty()) {
        askOrDefault(m_questions, Msg::NoExportLocation);
        return false;
    }
    return true;
}

bool TExportWizard::leaveAlbums()
{
    if (!m_listed->isChecked())
        return true;
    bool repeats = false;
    const QStringList kept = ExportAlbums::withoutRepeats(m_albumList->albumIds(), &repeats);
    if (repeats && askOrDefault(m_questions, Msg::DuplicateExportAlbums) == ResultYes)
        m_albumList->setAlbumIds(kept);
    return true;
}

bool TExportWizard::leaveFolder()
{
    QString folder = m_location->text().trimmed();
    while (folder.size() > 1 &&
           (folder.endsWith(QLatin1Char('/')) || folder.endsWith(QLatin1Char('\\'))))
        folder.chop(1);
    m_location->setText(folder);
    if (folder.isEmpty())
        return false;
    if (!QFileInfo(folder).isDir() &&
        askOrDefault(m_questions, Msg::ExportFolderMissing) == ResultYes)
        QDir().mkpath(folder);
    return QFileInfo(folder).isDir();
}

void TExportWizard::updateConfirmText()
{
    const ExportProfile p = profile();
    QString albums = m_all->isChecked() ? tr("all albums in the collection")
                     : m_group->isChecked()
                         ? m_group->text().mid(7).chopped(1)
                         : tr("%n listed album(s)", nullptr, int(p.albumIds.size()));
    const QString format =
        p.isHtml()
            ? tr("HTML pages from the template \"%1\" into %2").arg(p.templateName, p.outputFolder)
        : p.isAscii() ? tr("an ASCII database into %1").arg(p.outputFile)
                      : tr("a collection file into %1").arg(p.outputFile);
    m_confirmText->setText(tr("Export %1 as %2.").arg(albums.remove(QLatin1Char('&')), format));
}

void TExportWizard::finish()
{
    const QString name = m_saveName->text().trimmed();
    if (!name.isEmpty()) {
        ExportProfiles::save(m_settings.exportProfiles, name, profile());
    }
    accept();
}

void TExportWizard::browseFile()
{
    const QString chosen = m_fileChooser(this, m_file->text());
    if (!chosen.isEmpty())
        m_file->setText(chosen);
}

void TExportWizard::browseFolder()
{
    const QString chosen = m_folderChooser(this, m_location->text());
    if (!chosen.isEmpty())
        m_location->setText(chosen);
}

} // namespace Orbisong
