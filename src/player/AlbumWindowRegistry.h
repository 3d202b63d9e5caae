#pragma once

#include "cddb/CollectionEntryReceiver.h"
#include "collection/CollectionSink.h"

#include <QHash>
#include <QString>

namespace Orbisong {

class AlbumWindow;
class Collection;

// The open album wizards and album properties windows, each under its album ID in upper
// case. A found database entry goes to the wizard of its album, else to its properties
// window; the collection's change codes of an album go to its properties window.
class AlbumWindowRegistry : public CollectionSink
{
public:
    enum Kind { Wizard, Properties };

    // Listens to `collection` (when given) for change codes while it lives.
    explicit AlbumWindowRegistry(Collection *collection = nullptr);
    ~AlbumWindowRegistry() override;

    AlbumWindowRegistry(const AlbumWindowRegistry &) = delete;
    AlbumWindowRegistry &operator=(const AlbumWindowRegistry &) = delete;

    // Registers `window` for `albumId`, replacing the window of that kind registered before.
    void add(Kind kind, const QString &albumId, AlbumWindow *window);
    // Forgets `window` wherever it is registered.
    void remove(AlbumWindow *window);
    AlbumWindow *find(Kind kind, const QString &albumId) const;
    int count(Kind kind) const;

    // Hands an entry to the album's open window, read for the album's track count; true when
    // a window took it.
    bool handToWindow(const QString &albumId, const QString &category, const QStringList &lines,
                      int source);
    // handToWindow as the entry receivers' window hook.
    CollectionEntryReceiver::WindowHook hook();

    void albumChanged(const QString &id, int code) override;

private:
    QHash<QString, AlbumWindow *> &windows(Kind kind);
    const QHash<QString, AlbumWindow *> &windows(Kind kind) const;

    Collection *m_collection;
    QHash<QString, AlbumWindow *> m_wizards;
    QHash<QString, AlbumWindow *> m_properties;
};

} // namespace Orbisong
