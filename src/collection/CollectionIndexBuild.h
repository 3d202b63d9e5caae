#pragma once

// The collection's parts that its index and storage code share.

#include "collection/Collection.h"
#include "collection/TCfgFile.h"

#include <thread>

namespace Orbisong {

// IDs are compared upper-cased (ASCII letters) both when the index is built and when it is
// searched, so hand-edited lower-case IDs are found and never indexed twice.
QString indexKey(const QString &id);

// An index built from a file loaded on a thread of its own. Nothing in it is touched by the
// collection's thread until the build thread has ended.
struct Collection::IndexBuild
{
    std::thread thread;
    std::unique_ptr<TCfgFile> file;
    bool loaded = false;
    Buckets buckets;
    int albumCount = 0;
    QStringList withoutId;

    // Loads `path` and indexes it; runs on the build thread.
    void run(const QString &path);
    // Indexes a loaded file.
    void scan(TCfgFile &from);
};

} // namespace Orbisong
