#pragma once

#include <QString>
#include <QStringList>

// Writes a collection file of `albums` realistic albums (12-15 tracks with titles and notes,
// two custom playlists, comments, usage history and web links) in the written form, sorted by
// ID, and returns a sample of the IDs. The same count always gives the same file.
QStringList generateCollection(const QString &path, int albums);
