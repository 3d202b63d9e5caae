#pragma once

#include <QString>

namespace Orbisong {

// The one-line form of multi-line texts kept in line-based files: CR LF becomes "\n",
// a tab "\t", a backslash "\\"; a lone CR and a trailing line break or tab are dropped.
QString EncodeMultiline(const QString &text);
QString DecodeMultiline(const QString &text);

} // namespace Orbisong
