#include "player/OtherPlayerStages.h"

#include "collection/OtherPlayerImport.h"
#include "collection/SettingsStore.h"

namespace Orbisong {

RecognitionSequence::StageRunner OtherPlayerStages::cdPlayer(Collection &collection,
                                                             const QString &windowsFolder)
{
    return [&collection, windowsFolder](const RecognitionSequence::Request &request,
                                        std::function<void(int)> report) {
        // Looked for at every disc: the other player may have written the file meanwhile.
        const QString ini = FindCdPlayerIni(windowsFolder, DefaultWinePrefixes());
        report(ImportFromCDPlayer(collection, ini, request.discId, request.mediaIdentity));
    };
}

RecognitionSequence::StageRunner OtherPlayerStages::easyCd(Collection &collection,
                                                           const QString &settingsFile)
{
    return [&collection, settingsFile](const RecognitionSequence::Request &request,
                                       std::function<void(int)> report) {
        const SettingsStore store(settingsFile, QStringLiteral("Software"));
        report(ImportFromEasyCD(collection, store, request.discId, request.mediaIdentity));
    };
}

} // namespace Orbisong
