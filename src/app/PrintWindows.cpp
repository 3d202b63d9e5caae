#include "app/PrintWindows.h"

#include "app/CollectionWindows.h"
#include "collection/AlbumGrouping.h"
#include "collection/AlbumIndexNode.h"
#include "ui/collection/CollectionGeneralPage.h"
#include "ui/collection/MemberColumn.h"
#include "ui/collection/MemberListModel.h"

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
    }
    m_wizard->show();
    m_wizard->raise();
    m_wizard->activateWindow();
}

} // namespace Orbisong
