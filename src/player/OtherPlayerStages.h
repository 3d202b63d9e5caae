#pragma once

#include "player/RecognitionSequence.h"

namespace Orbisong {

class Collection;

// The recognition stages that copy a new disc's titles from other CD players' data on the
// machine into the album in `collection`.
class OtherPlayerStages
{
public:
    // "CDPLAYER.INI" in `windowsFolder`, or in the Wine prefixes when that folder has none.
    static RecognitionSequence::StageRunner cdPlayer(Collection &collection,
                                                     const QString &windowsFolder);
    // The other CD program's keys below "Software" in the settings file `settingsFile`.
    static RecognitionSequence::StageRunner easyCd(Collection &collection,
                                                   const QString &settingsFile);
};

} // namespace Orbisong
