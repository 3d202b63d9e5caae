#include "app/PrintWindows.h"

#include "app/CollectionWindows.h"
#include "collection/AlbumGrouping.h"
#include "collection/AlbumIndexNode.h"
#include "print/PrintTemplateFolder.h"
#include "ui/collection/CollectionGeneralPage.h"
#include "ui/collection/MemberColumn.h"
#include "ui/collection/MemberListModel.h"

#include <QFileInfo>

namespace Orbisong {

namespace {

TPrintWizard::CollectionView collectionView(TCollectionForm *window, Collection &collection)
{
    TPrintWizard::CollectionView view;
    if (!window)
        return view;
    const CollectionGeneralPage *page = window->generalPage();
    for (const AlbumIndexNode *album : page->albumModel()->albums())
        view.displayedIds.append(album->id);
    const GroupMember *member = page->memberColumn()->model()->memberAt(page->currentMember());
    if (!member)
        return view;
    view.groupWord = groupTypeWord(page->grouping()).toLower();
    view.groupValue = member->text;
    for (const AlbumIndexNode *album :
         albumsOfMember(audioAlbums(collection), page->grouping(), *member))
        view.groupIds.append(album->id);
    return view;
}

} // namespace

PrintWindows::PrintWindows(CollectionWindows *collectionWindows, Collection *collection,
                           QuestionPort *questions, QWidget *parent, QObject *owner)
    : QObject(owner), m_collectionWindows(collectionWindows), m_collection(collection),
      m_questions(questions), m_parent(parent)
{
    connect(collectionWindows, &CollectionWindows::printRequested, this, &PrintWindows::openWizard);
}

PrintWindows::~PrintWindows()
{
    delete m_editor;
    delete m_wizard;
}

void PrintWindows::openWizard()
{
    if (!m_collection)
        return;
    if (!m_wizard) {
        QWidget *parent = m_collectionWindows->window();
        m_wizard = new TPrintWizard(*m_collection, m_questions,
                                    collectionView(m_collectionWindows->window(), *m_collection),
                                    parent ? parent : m_parent);
        m_wizard->setAttribute(Qt::WA_DeleteOnClose);
        connect(m_wizard, &TPrintWizard::editRequested, this, &PrintWindows::openEditor);
    }
    m_wizard->show();
    m_wizard->raise();
    m_wizard->activateWindow();
}

} // namespace Orbisong

namespace Orbisong {

void PrintWindows::openEditor(const QString &path)
{
    if (!m_editor) {
        m_editor =
            new TPrintEditor(m_questions, m_wizard ? static_cast<QWidget *>(m_wizard) : m_parent);
        m_editor->setWindowFlag(Qt::Window);
        if (m_customFields)
            m_editor->setCustomFields(m_customFields());
        m_editor->setAttribute(Qt::WA_DeleteOnClose);
        connect(m_editor, &TPrintEditor::saved, this, [this] {
            if (m_wizard)
                m_wizard->refreshTemplates();
        });
    }
    const QString folder = PrintTemplateFolder::userFolder() + QLatin1Char('/');
    if (path.isEmpty() || !m_editor->load(path))
        m_editor->newTemplate(folder + QStringLiteral("new.obt"));
    else
        m_editor->setSavePath(folder + QFileInfo(path).fileName());
    m_editor->show();
    m_editor->raise();
    m_editor->activateWindow();
}

} // namespace Orbisong
