#include "player/AlbumWindowRegistry.h"

#include "collection/Collection.h"
#include "player/AlbumWindow.h"

namespace Orbisong {

AlbumWindowRegistry::AlbumWindowRegistry(Collection *collection) : m_collection(collection)
{
    if (m_collection)
        m_collection->addSink(this);
}

AlbumWindowRegistry::~AlbumWindowRegistry()
{
    if (m_collection)
        m_collection->removeSink(this);
}

QHash<QString, AlbumWindow *> &AlbumWindowRegistry::windows(Kind kind)
{
    return kind == Wizard ? m_wizards : m_properties;
}

const QHash<QString, AlbumWindow *> &AlbumWindowRegistry::windows(Kind kind) const
{
    return kind == Wizard ? m_wizards : m_properties;
}

void AlbumWindowRegistry::add(Kind kind, const QString &albumId, AlbumWindow *window)
{
    windows(kind).insert(albumId.toUpper(), window);
}

void AlbumWindowRegistry::remove(AlbumWindow *window)
{
    for (QHash<QString, AlbumWindow *> *list : {&m_wizards, &m_properties}) {
        for (auto it = list->begin(); it != list->end();) {
            if (it.value() == window)
                it = list->erase(it);
            else
                ++it;
        }
    }
}

AlbumWindow *AlbumWindowRegistry::find(Kind kind, const QString &albumId) const
{
    return windows(kind).value(albumId.toUpper());
}

int AlbumWindowRegistry::count(Kind kind) const
{
    return int(windows(kind).size());
}

bool AlbumWindowRegistry::handToWindow(const QString &albumId, const QString &category,
                                       const QStringList &lines, int source)
{
    AlbumWindow *window = find(Wizard, albumId);
    if (!window)
        window = find(Properties, albumId);
    if (!window)
        return false;
    window->takeEntry(ReadCddbEntry(category, source, lines, DiscIdTrackCount(albumId)));
    return true;
}

CollectionEntryReceiver::WindowHook AlbumWindowRegistry::hook()
{
    return [this](const QString &albumId, const QString &category, const QStringList &lines,
                  int source) { return handToWindow(albumId, category, lines, source); };
}

void AlbumWindowRegistry::albumChanged(const QString &id, int code)
{
    if (AlbumWindow *window = find(Properties, id))
        window->albumChanged(code);
}

} // namespace Orbisong
