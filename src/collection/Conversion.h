#pragma once

#include <QString>
#include <QStringList>

namespace Orbisong {

class Collection;
class ConversionLog;
class SettingsStore;

// The progress window of a conversion (the program shows one; headless runs pass nullptr).
class ConversionProgress
{
public:
    virtual ~ConversionProgress() = default;
    virtual void begin(int files) = 0;
    virtual void advance(int done) = 0;
    virtual void end() = 0;
};

struct ConversionResult
{
    // False when the old collection was kept: it could not be backed up, or the new one
    // could not be written.
    bool ran = false;
    int converted = 0;
    int failed = 0;
};

// The folders that held the previous version's album files, from its settings; the old
// default folder when none is listed.
QStringList previousAlbumFolders(const SettingsStore &previous);

// At start-up, after the settings are loaded and before the index is built: converts the
// previous version's albums once, and again whenever `convertSwitch` ("/CONVERT") is given.
// The first conversion counts as done only once its collection is in place. Returns whether
// a conversion was attempted.
bool ConvertConfiguration(SettingsStore &previous, Collection &collection, bool convertSwitch,
                          ConversionProgress *progress = nullptr);

// Converts every ".OBD" file of `folders` into a new, empty collection, built beside the old
// one and put in its place at the end. The old collection is kept as "CONVERT.BAK" in the
// data folder; "CONVLOG.TXT" there tells what happened.
ConversionResult ConvertCollection(Collection &collection, const QStringList &folders,
                                   ConversionProgress *progress = nullptr);

// Converts one album file into the collection; false when it could not be converted.
bool ConvertAlbumFile(Collection &collection, const QString &path, ConversionLog &log);

} // namespace Orbisong
