#pragma once

#include <QString>

namespace Orbisong {

// The one-line form of multi-line texts kept in line-based files (the collection, the
// settings, database entries): CR LF becomes "\n", a tab "\t", a backslash "\\"; a lone CR
// and a trailing line break or tab are dropped.
QString EncodeMultiline(const QString &text);

// What decoding makes of a backslash before a character other than "n", "t" or a backslash.
enum class UnknownEscape {
    // The backslash goes and the character stays: texts this program encoded.
    Drop,
    // Both stay: database entries, whose writers leave such a backslash as ordinary text.
    Keep,
};
QString DecodeMultiline(const QString &text, UnknownEscape unknown = UnknownEscape::Drop);

} // namespace Orbisong
