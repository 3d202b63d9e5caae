// Local CDDB lookups on databases of a million entries, in both layouts: one file per disc
// in category folders, and collected "xxtoyy" files. Prints the time of a hit and a miss,
// first (index built) and second lookup.
//
// usage: bench_cddb [--entries N] [--dir FOLDER]
// The databases are generated into FOLDER (a temporary folder by default) unless a previous
// run left them there.

#include "cddb/CddbEntry.h"
#include "cddb/LocalCddbDatabase.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <QTextStream>

#include <cstdio>
#include <random>

using namespace Orbisong;

namespace {

QByteArray entryFor(quint32 id)
{
    const QByteArray hex = QByteArray::number(id, 16).rightJustified(8, '0');
    QByteArray text = "# xmcd CD database file\n#\n# Track frame offsets:\n#\t150\n#\t15000\n"
                      "#\n# Disc length: 400 seconds\n#\n# Revision: 1\n#\nDISCID=" +
                      hex + "\nDTITLE=Artist " + hex + " / Album " + hex + "\n";
    for (int t = 0; t < (id & 0xff) % 12 + 1; ++t)
        text += "TTITLE" + QByteArray::number(t) + "=Track " + QByteArray::number(t) + "\n";
    text += "EXTD=\nPLAYORDER=\n";
    return text;
}

// Disc ids spread over the whole range, every one different, reproducible.
QList<quint32> discIds(int count)
{
    QList<quint32> ids;
    ids.reserve(count);
    std::mt19937 random(4711);
    for (int i = 0; i < count; ++i)
        ids.append((random() & 0xffffff00u) | quint32(i % 99 + 1));
    std::sort(ids.begin(), ids.end());
    ids.erase(std::unique(ids.begin(), ids.end()), ids.end());
    return ids;
}

void generatePerDisc(const QString &root, const QList<quint32> &ids)
{
    const QStringList categories = CddbCategories();
    for (const QString &category : categories)
        QDir().mkpath(root + QLatin1Char('/') + category);
    for (qsizetype i = 0; i < ids.size(); ++i) {
        const QString name = QString::number(ids.at(i), 16).rightJustified(8, QLatin1Char('0'));
        QFile file(root + QLatin1Char('/') + categories.at(i % categories.size()) +
                   QLatin1Char('/') + name);
        file.open(QIODevice::WriteOnly);
        file.write(entryFor(ids.at(i)));
        if (i % 100000 == 0)
            std::fprintf(stderr, "generating per-disc files: %lld\n", static_cast<long long>(i));
    }
}

void generateCollected(const QString &root, const QList<quint32> &ids)
{
    const QStringList categories = CddbCategories();
    for (qsizetype c = 0; c < categories.size(); ++c) {
        const QString folder = root + QLatin1Char('/') + categories.at(c);
        QDir().mkpath(folder);
        for (int range = 0; range < 16; ++range) {
            const QString name = QStringLiteral("%1to%2")
                                     .arg(range * 16, 2, 16, QLatin1Char('0'))
                                     .arg(range * 16 + 15, 2, 16, QLatin1Char('0'));
            QFile file(folder + QLatin1Char('/') + name);
            file.open(QIODevice::WriteOnly);
            for (qsizetype i = c; i < ids.size(); i += categories.size()) {
                if (int(ids.at(i) >> 28) == range)
                    file.write(entryFor(ids.at(i)));
            }
        }
    }
}

double lookupMs(LocalCddbDatabase &database, quint32 id, bool *found, bool progress)
{
    QElapsedTimer timer;
    timer.start();
    const auto result = database.find(
        QString::number(id, 16).rightJustified(8, QLatin1Char('0')), [&](const QString &text) {
            if (progress)
                std::fprintf(stderr, "  status line: %s\n", qPrintable(text));
        });
    *found = result.status == LocalCddbDatabase::Found;
    return double(timer.nsecsElapsed()) / 1e6;
}

void measure(const char *layout, const QString &root, const QString &index, quint32 hit,
             quint32 miss)
{
    QDir(index).removeRecursively();
    LocalCddbDatabase database(root, index);
    bool found = false;
    auto report = [&](const char *what, double ms) {
        std::printf("%-10s %-36s %10.2f ms  found=%d\n", layout, what, ms, found);
        std::fflush(stdout);
    };
    report("first lookup, hit (indexes part):", lookupMs(database, hit, &found, true));
    report("first lookup, miss (indexes rest):", lookupMs(database, miss, &found, true));
    report("second lookup, hit:", lookupMs(database, hit, &found, false));
    report("second lookup, miss:", lookupMs(database, miss, &found, false));
    double worst = 0;
    for (int i = 0; i < 20; ++i)
        worst = std::max(worst, lookupMs(database, hit ^ (quint32(i) << 12), &found, false));
    report("worst of 20 later lookups:", worst);
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    int entries = 1000000;
    QString dir;
    const QStringList args = app.arguments();
    for (int i = 1; i + 1 < args.size(); i += 2) {
        if (args.at(i) == QLatin1String("--entries"))
            entries = args.at(i + 1).toInt();
        else if (args.at(i) == QLatin1String("--dir"))
            dir = args.at(i + 1);
    }
    QTemporaryDir temporary;
    if (dir.isEmpty())
        dir = temporary.path();
    const QList<quint32> ids = discIds(entries);
    const QString perDisc = dir + QStringLiteral("/per-disc");
    const QString collected = dir + QStringLiteral("/collected");
    const QString marker = dir + QStringLiteral("/generated-%1").arg(entries);
    QElapsedTimer timer;
    if (!QFile::exists(marker)) {
        QDir(dir).removeRecursively();
        QDir().mkpath(dir);
        timer.start();
        generatePerDisc(perDisc, ids);
        generateCollected(collected, ids);
        QFile(marker).open(QIODevice::WriteOnly);
        std::printf("generated %lld entries in each layout in %.1f s\n",
                    static_cast<long long>(ids.size()), double(timer.elapsed()) / 1000);
    }
    const quint32 hit = ids.at(ids.size() / 2);
    quint32 miss = hit + 0x100;
    while (std::binary_search(ids.begin(), ids.end(), miss))
        miss += 0x100;
    measure("per-disc", perDisc, dir + QStringLiteral("/index-per-disc"), hit, miss);
    measure("collected", collected, dir + QStringLiteral("/index-collected"), hit, miss);
    return 0;
}
