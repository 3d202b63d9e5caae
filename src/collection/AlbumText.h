#pragma once

#include <QString>

namespace Orbisong {

// The text that orders artists and titles: without a leading "THE " or "A ", and with
// AlbumFlagLastNameFirst in `flags`, the last word first ("John Smith" gives "SmithJohn").
QString SortKey(const QString &text, int flags);

// Upper-cases the first letter of every word and lower-cases the others; a letter after an
// apostrophe or hyphen does not start a word, one after any other non-letter does.
QString ProperCase(const QString &text);

// The owner of new albums: the login name in ProperCase.
QString defaultOwner();

} // namespace Orbisong
