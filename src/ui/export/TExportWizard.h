#pragma once

#include "export/ExportProfile.h"
#include "ui/common/TWizardForm.h"

#include <functional>

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QRadioButton;

namespace Orbisong {

class Collection;
class ExportAlbumList;
class QuestionPort;
struct Settings;

// "Export": which albums, which format, the format's options, where to, and the profile to
// save; a saved profile chosen on the first pane fills every pane and leads straight to
// "Confirm". The export itself runs once the wizard is accepted (see profile()).
class TExportWizard : public TWizardForm
{
    Q_OBJECT

public:
    // Asks for a file or folder: the current text, and the answer; empty on cancel.
    using PathChooser = std::function<QString(QWidget *parent, const QString &current)>;

    // `groupKind` and `groupValue` are the collection window's grouping (-1 for none).
    TExportWizard(Collection &collection, Settings &settings, QuestionPort *questions,
                  int groupKind, const QString &groupValue, QWidget *parent = nullptr);

    // What the panes say now.
    ExportProfile profile() const;
    // The chosen template's real path.
    QString templatePath() const;
    // Fills every pane from `profile`.
    void applyProfile(const ExportProfile &profile);

    void setFileChooser(PathChooser chooser) { m_fileChooser = std::move(chooser); }
    void setFolderChooser(PathChooser chooser) { m_folderChooser = std::move(chooser); }

    QWidget *profilePane() const { return m_profilePane; }
    QWidget *albumsPane() const { return m_albumsPane; }
    QWidget *formatPane() const { return m_formatPane; }
    QWidget *asciiPane() const { return m_asciiPane; }
    QWidget *htmlPane() const { return m_htmlPane; }
    QWidget *filePane() const { return m_filePane; }
    QWidget *folderPane() const { return m_folderPane; }
    QWidget *confirmPane() const { return m_confirmPane; }
    QComboBox *profileCombo() const { return m_profileCombo; }
    QRadioButton *allChoice() const { return m_all; }
    QRadioButton *groupChoice() const { return m_group; }
    QRadioButton *listChoice() const { return m_listed; }
    ExportAlbumList *albumList() const { return m_albumList; }
    QRadioButton *collectionFormat() const { return m_formatObc; }
    QRadioButton *asciiFormat() const { return m_formatAscii; }
    QRadioButton *htmlFormat() const { return m_formatHtml; }
    QCheckBox *includeTracks() const { return m_tracks; }
    QComboBox *trackDelimiter() const { return m_trackDelimiter; }
    QComboBox *fieldDelimiter() const { return m_fieldDelimiter; }
    QComboBox *recordDelimiter() const { return m_recordDelimiter; }
    QComboBox *htmlTemplate() const { return m_template; }
    QLineEdit *fileEdit() const { return m_file; }
    QLineEdit *locationEdit() const { return m_location; }
    QLineEdit *saveNameEdit() const { return m_saveName; }

protected:
    QWidget *nextPane(QWidget *pane) override;
    QWidget *previousPane(QWidget *pane) override;
    bool leavePane(QWidget *pane) override;
    void finish() override;

private:
    void buildProfilePane();
    void buildAlbumsPane(int groupKind, const QString &groupValue);
    void buildFormatPane();
    void buildAsciiPane();
    void buildHtmlPane();
    void buildFilePane();
    void buildFolderPane();
    void buildConfirmPane();
    QComboBox *delimiterBox(const QString &text);
    void browseFile();
    void browseFolder();
    void updateConfirmText();
    bool leaveAlbums();
    bool leaveFolder();

    Collection &m_collection;
    Settings &m_settings;
    QuestionPort *m_questions;
    int m_groupKind;
    QString m_groupValue;
    PathChooser m_fileChooser;
    PathChooser m_folderChooser;

    QWidget *m_profilePane = nullptr;
    QWidget *m_albumsPane = nullptr;
    QWidget *m_formatPane = nullptr;
    QWidget *m_asciiPane = nullptr;
    QWidget *m_htmlPane = nullptr;
    QWidget *m_filePane = nullptr;
    QWidget *m_folderPane = nullptr;
    QWidget *m_confirmPane = nullptr;
    QComboBox *m_profileCombo = nullptr;
    QRadioButton *m_all = nullptr;
    QRadioButton *m_group = nullptr;
    QRadioButton *m_listed = nullptr;
    ExportAlbumList *m_albumList = nullptr;
    QRadioButton *m_formatObc = nullptr;
    QRadioButton *m_formatAscii = nullptr;
    QRadioButton *m_formatHtml = nullptr;
    QCheckBox *m_tracks = nullptr;
    QComboBox *m_trackDelimiter = nullptr;
    QComboBox *m_fieldDelimiter = nullptr;
    QComboBox *m_recordDelimiter = nullptr;
    QComboBox *m_template = nullptr;
    QLineEdit *m_file = nullptr;
    QLineEdit *m_location = nullptr;
    QLineEdit *m_saveName = nullptr;
    QLabel *m_confirmText = nullptr;
};

} // namespace Orbisong
