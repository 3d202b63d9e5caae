#pragma once

#include <QString>

class QTextDocument;

namespace Orbisong {

// Reads the rich text of print templates into a document: fonts (\fonttbl, \f), sizes (\fs),
// bold, italic and underline (\b, \i, \ul, \ulnone), paragraph alignment (\ql, \qc, \qr,
// reset by \pard), paragraphs (\par), tabs (\tab), line breaks (\line) and characters given
// as \'hh (Windows-1252) or \uN. Unknown control words are ignored; "{\*...}" groups and the
// colour, style and information tables are skipped. Text that does not start with "{\rtf" is
// taken as plain text, one paragraph a line.
void readRtf(const QString &rtf, QTextDocument &document);

} // namespace Orbisong
