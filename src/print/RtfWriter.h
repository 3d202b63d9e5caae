#pragma once

#include <QString>

class QTextDocument;

namespace Orbisong {

// Writes a document as the rich text RtfReader reads: a font table of the families used in
// order of appearance, then each paragraph with its alignment and its runs of
// font, size, bold, italic and underline. Characters outside ASCII are written as \uN, so
// the text survives any 8-bit file. Paragraphs are separated by "\par " with no line breaks,
// which keeps the text on one line of a template file and lets tag expansion find the marks.
QString writeRtf(const QTextDocument &document);

} // namespace Orbisong
