// The installer's ZIP reader: local headers, data descriptors, names and encrypted entries.
#include "FuzzSupport.h"
#include "ZipReader.h"

#include <QDir>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    using namespace Orbisong;
    const QString archive =
        Fuzz::writeScratchFile(QStringLiteral("disk.zip"), Fuzz::bytesOf(data, size));
    const QString destination = Fuzz::scratchFolder() + QStringLiteral("/out");
    QDir(destination).removeRecursively();
    QDir().mkpath(destination);
    ZipReader reader(archive, destination);
    reader.extractAll();
    return 0;
}
