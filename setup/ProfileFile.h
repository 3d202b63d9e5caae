#pragma once

#include <QString>

namespace Orbisong {

// A profile file of "[section]" headers and "key=value" lines, read the way the platform
// reads its own profiles: section and key names match without regard to case, and a value
// is the text after the first "=", trimmed and taken literally, so that backslashes, commas
// and semicolons in a program path stay as written. Only the first section of a name counts.
class ProfileFile
{
public:
    explicit ProfileFile(const QString &file);

    // Gives `fallback` when the file, the section or the key is missing. A value enclosed in
    // a pair of double or single quotes is given without them.
    QString readString(const QString &section, const QString &key, const QString &fallback) const;

private:
    QString m_file;
};

} // namespace Orbisong
