// The configuration file loader: load, read every block's keys, change one and write it out.
#include "collection/TCfgFile.h"
#include "FuzzSupport.h"

#include <QStringList>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    using namespace Orbisong;
    const QString path =
        Fuzz::writeScratchFile(QStringLiteral("fuzz.obc"), Fuzz::bytesOf(data, size));
    TCfgFile file(path);
    if (!file.load())
        return 0;
    QStringList blocks;
    file.ReadBlockNames(blocks);
    for (const QString &block : std::as_const(blocks)) {
        file.ReadString(block, QStringLiteral("Album"), QStringLiteral("ID"), {});
        file.ReadInteger(block, QStringLiteral("Tracks"), QStringLiteral("CT"), 0);
    }
    file.renameRepeatedBlocks([](const QString &, const QString &) {});
    if (!blocks.isEmpty()) {
        file.WriteInteger(blocks.first(), QStringLiteral("Album"), QStringLiteral("RV"), 2);
        file.writtenBlock(blocks.first());
    }
    file.EraseBlock(QStringLiteral("X"));
    file.save();
    return 0;
}
