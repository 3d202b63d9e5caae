#include "app/CollectionWindows.h"

#include "ui/collection/TCollectionForm.h"
#include "ui/player/TPlayerForm.h"

namespace Orbisong {

CollectionWindows::CollectionWindows(TPlayerForm *player, Collection *collection,
                                     QuestionPort *questions, QObject *parent)
    : QObject(parent), m_player(player), m_collection(collection), m_questions(questions)
{
    connect(player, &TPlayerForm::collectionRequested, this, &CollectionWindows::open);
}

CollectionWindows::~CollectionWindows()
{
    close();
}

void CollectionWindows::open()
{
    if (!m_collection)
        return;
    if (!m_window) {
        m_window =
            new TCollectionForm(*m_collection, m_questions, m_player->cursorStack(), m_player);
        m_window->setAttribute(Qt::WA_DeleteOnClose);
        connect(m_window, &TCollectionForm::propertiesRequested, this,
                &CollectionWindows::propertiesRequested);
        connect(m_window, &TCollectionForm::exportRequested, this,
                &CollectionWindows::exportRequested);
        connect(m_window, &TCollectionForm::printRequested, this,
                &CollectionWindows::printRequested);
    }
    m_window->showNormal();
    m_window->raise();
    m_window->activateWindow();
}

void CollectionWindows::close()
{
    if (m_window)
        m_window->close();
}

} // namespace Orbisong
