#pragma once

#include <QString>

namespace Orbisong {

// Multi-line album texts keep CR LF line breaks; the editors show and return LF.
QString toEditorText(const QString &text);
QString fromEditorText(const QString &text);

} // namespace Orbisong
