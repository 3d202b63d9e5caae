// The local database's index reader: a real index is built once, then its contents after
// the header's magic and stamp are replaced by the input before each lookup.
#include "cddb/LocalCddbDatabase.h"
#include "FuzzSupport.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    using namespace Orbisong;
    static const QString root = Fuzz::scratchFolder() + QStringLiteral("/db");
    static const QString indexFolder = Fuzz::scratchFolder() + QStringLiteral("/index");
    static QString indexFile;
    static QByteArray header;
    if (indexFile.isEmpty()) {
        QDir().mkpath(root + QStringLiteral("/rock"));
        QFile entry(root + QStringLiteral("/rock/0203a980"));
        entry.open(QIODevice::WriteOnly);
        entry.write("# xmcd\nDISCID=0203a980\nDTITLE=A / B\nPLAYORDER=\n");
        entry.close();
        LocalCddbDatabase(root, indexFolder).find(QStringLiteral("0203a980"));
        QDirIterator it(indexFolder, {QStringLiteral("*.idx")}, QDir::Files,
                        QDirIterator::Subdirectories);
        indexFile = it.next();
        QFile built(indexFile);
        built.open(QIODevice::ReadOnly);
        header = built.read(10 + 8); // the magic line and the folder's stamp
    }
    QFile index(indexFile);
    if (!index.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return 0;
    index.write(header + Fuzz::bytesOf(data, size));
    index.close();
    LocalCddbDatabase(root, indexFolder).find(QStringLiteral("0203a980"));
    return 0;
}
