#include "ui/print/TPrintWizard.h"

#include "base/MessageIds.h"
#include "base/QuestionPort.h"
#include "collection/AlbumIndexNode.h"
#include "collection/Collection.h"
#include "print/PrintJob.h"
#include "print/PrintTemplate.h"
#include "print/PrintTemplateFolder.h"
#include "ui/print/PrintAlbumDropList.h"

#include <QDesktopServices>
#include <QDir>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPrintDialog>
#include <QPrinter>
#include <QPushButton>
#include <QRadioButton>
#include <QUrl>
#include <QVBoxLayout>

namespace Orbisong {

namespace {

QLabel *heading(const QString &text, QWidget *parent)
{
    auto *label = new QLabel(text, parent);
    QFont font = label->font();
    font.setBold(true);
    font.setPointSizeF(font.pointSizeF() * 1.3);
    label->setFont(font);
    return label;
}

bool choosePrinter(QPrinter &printer, QWidget *parent)
{
    QPrintDialog dialog(&printer, parent);
    return dialog.exec() == QDialog::Accepted;
}

} // namespace

TPrintWizard::TPrintWizard(Collection &collection, QuestionPort *questions,
                           const CollectionView &view, QWidget *parent)
    : TWizardForm(tr("Print"), parent), m_collection(collection), m_questions(questions),
      m_view(view), m_chooser(choosePrinter)
{
    addPane(m_templatePane = makeTemplatePane(), 1, 3);
    addPane(makeAlbumPane(), 2, 3);
    addPane(makeConfirmPane(), 3, 3);
    refreshTemplates();
    resize(480, 360);
    start();
}

QWidget *TPrintWizard::makeTemplatePane()
{
    auto *pane = new QWidget(this);
    auto *layout = new QVBoxLayout(pane);
    layout->addWidget(heading(tr("Print Album Information"), pane));
    layout->addWidget(new QLabel(tr("Which template do you want to use?"), pane));
    m_templates = new QListWidget(pane);
    layout->addWidget(m_templates, 1);
    auto *buttons = new QHBoxLayout;
    m_edit = new QPushButton(tr("E&dit"), pane);
    auto *explore = new QPushButton(tr("&Explore"), pane);
    buttons->addStretch(1);
    buttons->addWidget(m_edit);
    buttons->addWidget(explore);
    layout->addLayout(buttons);
    connect(m_edit, &QPushButton::clicked, this, [this] { emit editRequested(templatePath()); });
    connect(explore, &QPushButton::clicked, this, [] {
        const QString folder = PrintTemplateFolder::userFolder();
        QDir().mkpath(folder);
        QDesktopServices::openUrl(QUrl::fromLocalFile(folder));
    });
    connect(m_templates, &QListWidget::itemDoubleClicked, this, [this] { nextButton()->click(); });
    return pane;
}

QWidget *TPrintWizard::makeAlbumPane()
{
    auto *pane = new QWidget(this);
    auto *layout = new QVBoxLayout(pane);
    layout->addWidget(heading(tr("Choose Albums"), pane));
    m_all = new QRadioButton(tr("Print &all albums in the collection."), pane);
    m_displayed = new QRadioButton(tr("Print albums displayed in the &Collection window."), pane);
    const bool hasGroup = !m_view.groupWord.isEmpty();
    m_group = new QRadioButton(
        tr("Print a&lbums with %1 \"%2\"")
            .arg(hasGroup ? m_view.groupWord : tr("artist"),
                 hasGroup && !m_view.groupValue.isEmpty() ? m_view.groupValue : tr("(None)")),
        pane);
    m_group->setEnabled(hasGroup);
    m_displayed->setEnabled(!m_view.displayedIds.isEmpty());
    m_these = new QRadioButton(tr("Print &these albums:"), pane);
    m_albumList = new PrintAlbumDropList(pane);
    auto *hint = new QLabel(tr("Drop albums from the Collection window."), pane);
    for (QWidget *w : {static_cast<QWidget *>(m_all), static_cast<QWidget *>(m_displayed),
                       static_cast<QWidget *>(m_group), static_cast<QWidget *>(m_these)})
        layout->addWidget(w);
    layout->addWidget(m_albumList, 1);
    layout->addWidget(hint);
    m_all->setChecked(true);
    connect(m_albumList, &PrintAlbumDropList::albumsDropped, this, &TPrintWizard::addDropped);
    return pane;
}

QWidget *TPrintWizard::makeConfirmPane()
{
    auto *pane = new QWidget(this);
    auto *layout = new QVBoxLayout(pane);
    layout->addWidget(heading(tr("Confirm"), pane));
    layout->addWidget(new QLabel(tr("Click 'Finish' to print the album data."), pane));
    layout->addStretch(1);
    return pane;
}

void TPrintWizard::refreshTemplates()
{
    const QListWidgetItem *current = m_templates->currentItem();
    const QString chosen = current ? current->text() : QString();
    m_templates->clear();
    for (const QString &name : PrintTemplateFolder::templateNames()) {
        auto *item = new QListWidgetItem(QFileInfo(name).completeBaseName(), m_templates);
        item->setData(Qt::UserRole, PrintTemplateFolder::pathOf(name));
        if (item->text() == chosen)
            m_templates->setCurrentItem(item);
    }
    if (!m_templates->currentItem() && m_templates->count() > 0)
        m_templates->setCurrentRow(0);
}

void TPrintWizard::addDropped(const QStringList &ids)
{
    QStringList known;
    QStringList texts;
    for (const QString &id : ids) {
        if (const AlbumIndexNode *album = m_collection.FindAlbum(id)) {
            known.append(album->id);
            texts.append(album->artist + QStringLiteral(" - ") + album->title);
        }
    }
    m_albumList->addAlbums(known, texts);
    m_these->setChecked(true);
}

QString TPrintWizard::templatePath() const
{
    const QListWidgetItem *item = m_templates->currentItem();
    return item ? item->data(Qt::UserRole).toString() : QString();
}

QStringList TPrintWizard::chosenIds() const
{
    if (m_displayed->isChecked())
        return m_view.displayedIds;
    if (m_group->isChecked())
        return m_view.groupIds;
    if (m_these->isChecked())
        return m_albumList->albumIds();
    return {};
}

bool TPrintWizard::leavePane(QWidget *pane)
{
    if (pane != m_templatePane)
        return true;
    const QString path = templatePath();
    if (!path.isEmpty() && isPrintTemplateFile(path))
        return true;
    askOrDefault(m_questions, Msg::TemplateNameInvalid);
    return false;
}

void TPrintWizard::finish()
{
    PrintTemplate tpl;
    QString error;
    if (!readPrintTemplate(templatePath(), tpl, &error)) {
        askOrDefault(m_questions, Msg::TemplateNameInvalid);
        return;
    }
    const QStringList ids = chosenIds();
    if (ids.isEmpty() && !m_all->isChecked()) {
        askOrDefault(m_questions, Msg::Notice, tr("There are no albums to print."),
                     tr("Choose albums to print, or print all albums in the collection."));
        return;
    }
    QPrinter printer(QPrinter::HighResolution);
    printer.setDocName(PrintJob::title());
    if (!m_chooser(printer, this))
        return;
    m_collection.OpenCollectionFile();
    const QList<PrintAlbum> albums = loadPrintAlbums(m_collection, ids);
    m_collection.CloseCollection();
    m_printed = PrintJob::print(tpl, albums, printer, &error);
    if (m_printed < 0) {
        askOrDefault(m_questions, Msg::Notice, tr("The albums could not be printed."),
                     tr("The template places nothing on the page: %1.").arg(error));
        return;
    }
    accept();
}

} // namespace Orbisong
