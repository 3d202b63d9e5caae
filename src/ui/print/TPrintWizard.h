#pragma once

#include "ui/common/TWizardForm.h"

#include <QStringList>

#include <functional>

class QLabel;
class QListWidget;
class QPrinter;
class QPushButton;
class QRadioButton;

namespace Orbisong {

class Collection;
class PrintAlbumDropList;
class QuestionPort;

// "Print": chooses a print template and the albums, then prints them through the printer
// the user picks ("Print to PDF" included).
class TPrintWizard : public TWizardForm
{
    Q_OBJECT

public:
    // What the collection window offers: the albums it shows, and its selected group.
    struct CollectionView
    {
        QStringList displayedIds;
        QString groupWord;  // "artist", "binder", ...; empty without a selected group
        QString groupValue; // the group's text, "(None)" for albums without the field
        QStringList groupIds;
    };
    // Sets up the printer (normally through the print dialog); false cancels printing.
    using PrinterChooser = std::function<bool(QPrinter &printer, QWidget *parent)>;

    TPrintWizard(Collection &collection, QuestionPort *questions, const CollectionView &view,
                 QWidget *parent = nullptr);

    void setPrinterChooser(PrinterChooser chooser) { m_chooser = std::move(chooser); }

    QListWidget *templateList() const { return m_templates; }
    QRadioButton *allButton() const { return m_all; }
    QRadioButton *displayedButton() const { return m_displayed; }
    QRadioButton *theseButton() const { return m_these; }
    QRadioButton *groupButton() const { return m_group; }
    PrintAlbumDropList *albumList() const { return m_albumList; }
    QPushButton *editButton() const { return m_edit; }
    // The chosen template's path; empty when none is chosen.
    QString templatePath() const;
    // The IDs the current choice prints; empty means every album.
    QStringList chosenIds() const;
    // Reads the templates folder again, keeping the chosen template when it is still there.
    void refreshTemplates();
    // Pages printed by the last Finish, -1 when it failed.
    int printedPages() const { return m_printed; }

signals:
    // "E&dit": the template editor for the path (empty: a new template).
    void editRequested(const QString &path);

protected:
    bool leavePane(QWidget *pane) override;
    void finish() override;

private:
    QWidget *makeTemplatePane();
    QWidget *makeAlbumPane();
    QWidget *makeConfirmPane();
    void addDropped(const QStringList &ids);

    Collection &m_collection;
    QuestionPort *m_questions;
    CollectionView m_view;
    PrinterChooser m_chooser;
    QWidget *m_templatePane = nullptr;
    QListWidget *m_templates = nullptr;
    QPushButton *m_edit = nullptr;
    QRadioButton *m_all = nullptr;
    QRadioButton *m_displayed = nullptr;
    QRadioButton *m_these = nullptr;
    QRadioButton *m_group = nullptr;
    PrintAlbumDropList *m_albumList = nullptr;
    int m_printed = -1;
};

} // namespace Orbisong
