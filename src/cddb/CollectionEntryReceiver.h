#pragma once

#include "cddb/CddbApply.h"

#include <functional>

namespace Orbisong {

class Collection;

// Applies found entries to the stored albums of a collection, after offering them to an
// open album window through `windowHook` (the album wizard and album properties windows set
// it once they exist).
class CollectionEntryReceiver : public CddbEntryReceiver
{
public:
    using WindowHook = std::function<bool(const QString &albumId, const QString &category,
                                          const QStringList &lines, int source)>;

    explicit CollectionEntryReceiver(Collection &collection);

    void setWindowHook(WindowHook hook) { m_windowHook = std::move(hook); }

    bool handToWindow(const QString &albumId, const QString &category, const QStringList &lines,
                      int source) override;
    bool applyToAlbum(const QString &albumId, const CddbAlbumFields &fields) override;
    bool applyRelease(const QString &albumId, const QString &year,
                      const QString &releaseId) override;

private:
    Collection &m_collection;
    WindowHook m_windowHook;
};

} // namespace Orbisong
