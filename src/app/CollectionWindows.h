#pragma once

#include "ui/collection/TCollectionForm.h"

#include <QObject>
#include <QPointer>

namespace Orbisong {

class Collection;
class QuestionPort;
class TPlayerForm;

// Opens the collection window when the player asks for it, at most one at a time, and passes
// on what the window asks of other windows.
class CollectionWindows : public QObject
{
    Q_OBJECT

public:
    CollectionWindows(TPlayerForm *player, Collection *collection, QuestionPort *questions,
                      QObject *parent = nullptr);
    ~CollectionWindows() override;

    // Opens the window, or brings the open one to the front.
    void open();
    // Closes the open window, which stores its state in the settings; called before the
    // collection shuts down.
    void close();
    TCollectionForm *window() const { return m_window; }

signals:
    // The user asked for an album's properties (double-click, Enter, "P&roperties").
    void propertiesRequested(const QString &albumId);
    void exportRequested();
    void printRequested();

private:
    TPlayerForm *m_player;
    Collection *m_collection;
    QuestionPort *m_questions;
    QPointer<TCollectionForm> m_window;
};

} // namespace Orbisong
