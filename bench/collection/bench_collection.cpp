// Opens, indexes, changes and saves generated collections of realistic albums and prints the
// figures. Usage: bench_collection [ALBUMS...] (default 10000 100000).

#include "Collection.h"
#include "Settings.h"
#include "TCfgFile.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QRandomGenerator>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <vector>

using namespace Orbisong;

namespace {

const char *const Words[] = {"Blue",  "River",  "Night",   "Golden", "Heart", "Road",  "Fire",
                             "Stone", "Light",  "Dream",   "Rain",   "City",  "Ocean", "Song",
                             "Wild",  "Silver", "Morning", "Shadow", "Dance", "Home"};

QByteArray words(QRandomGenerator &random, int count)
{
    QByteArray text;
    for (int i = 0; i < count; ++i) {
        if (i)
            text += ' ';
        text += Words[random.bounded(int(std::size(Words)))];
    }
    return text;
}

// One album block in the written form, as the program stores it.
QByteArray albumBlock(QRandomGenerator &random, const QByteArray &id)
{
    const int tracks = 12 + random.bounded(4);
    QByteArray b;
    b.reserve(4096);
    auto line = [&b](const QByteArray &key, const QByteArray &value) {
        b += "  " + key + '=' + value + "\r\n";
    };
    auto n = [](int v) { return QByteArray::number(v); };
    b += '<' + id + ">\r\n [Album]\r\n";
    line("ID", id);
    line("NW", "0");
    line("AR", words(random, 2));
    line("BI", "Binder " + n(random.bounded(20)));
    line("CA", "rock");
    line("CO", "(c) " + n(1970 + random.bounded(50)) + " Records");
    line("FL", "0");
    line("IN", n(random.bounded(1 << 30)));
    line("IX", n(random.bounded(5000)));
    line("LN", n(2400 + random.bounded(1200)));
    line("OW", "Ann");
    line("TL", words(random, 3));
    line("US", "");
    line("YR", n(1970 + random.bounded(50)));
    line("RV", "2");
    line("SR", "3");
    line("CS", "Label=" + words(random, 1) + "\\nMood=" + words(random, 1));
    b += " [Comments]\r\n";
    line("TX", "Bought at the " + words(random, 2) + " shop.\\nSigned copy.");
    b += " [Events]\r\n";
    line("AE[1]", "");
    line("AE[2]", "");
    b += " [Media]\r\n";
    line("MD", "65537");
    for (int p = 1; p <= 2; ++p) {
        b += " [" + (p == 1 ? QByteArray("Favourites") : QByteArray("Party")) + "]\r\n";
        const int steps = 5 + random.bounded(5);
        line("CT", n(steps));
        for (int m = 1; m <= steps; ++m) {
            const QByteArray k = '[' + n(m) + ']';
            line("ST" + k, m % 3 ? QByteArray() : words(random, 2));
            line("SS" + k, n(150 + m * 15000));
            line("SE" + k, n(150 + (m + 1) * 15000));
            line("SS1" + k, "");
        }
    }
    b += " [Playlists]\r\n";
    line("CU", "Favourites");
    line("PL[1]", "Favourites");
    line("PL[2]", "Party");
    line("CT", "2");
    b += " [Tracks]\r\n";
    line("CT", n(tracks));
    int offset = 150;
    for (int t = 1; t <= tracks; ++t) {
        const QByteArray k = '[' + n(t) + ']';
        const int length = 9000 + random.bounded(20000);
        line("TT" + k, words(random, 2 + random.bounded(3)));
        line("TM" + k, t % 2 ? "Live take\\nguest vocals" : QByteArray());
        line("TL" + k, n(length));
        line("TO" + k, n(offset));
        line("TC" + k, n(random.bounded(40)));
        offset += length;
    }
    b += " [Usage]\r\n";
    line("IC", n(10 + random.bounded(30)));
    line("FI", "3/14/2001 8:15 PM");
    for (int r = 1; r <= 10; ++r)
        line("RI[" + n(r) + ']', n(1 + r % 12) + "/" + n(1 + r) + "/2023 9:" + n(10 + r) + " PM");
    b += " [WebLink]\r\n";
    line("CT", "2");
    line("WT[1]", "Official site");
    line("WU[1]", "https://" + id.toLower() + ".example.org/");
    line("WF[1]", "1");
    line("WT[2]", "Reviews");
    line("WU[2]", "https://reviews.example.org/album/" + id);
    line("WF[2]", "0");
    return b;
}

QStringList generate(const QString &path, int albums)
{
    QRandomGenerator random(albums);
    std::vector<QByteArray> ids;
    ids.reserve(std::size_t(albums));
    for (int i = 0; i < albums; ++i) {
        const quint32 discId = random.generate();
        ids.push_back(QByteArray::number(discId, 16).rightJustified(8, '0').toUpper() +
                      QByteArray::number(150 + i % 0xFF000, 16).rightJustified(5, '0').toUpper());
    }
    std::sort(ids.begin(), ids.end());
    QFile file(path);
    file.open(QIODevice::WriteOnly);
    QStringList sample;
    for (std::size_t i = 0; i < ids.size(); ++i) {
        file.write(albumBlock(random, ids[i]));
        if (i % 97 == 0)
            sample.append(QString::fromLatin1(ids[i]));
    }
    return sample;
}

double peakMegabytes()
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return 0;
    for (const QByteArray &line : status.readAll().split('\n')) {
        if (line.startsWith("VmHWM:"))
            return line.mid(6).trimmed().split(' ').value(0).toDouble() / 1024.0;
    }
    return 0;
}

void resetPeak()
{
    QFile clear(QStringLiteral("/proc/self/clear_refs"));
    if (clear.open(QIODevice::WriteOnly))
        clear.write("5");
}

// The floor: read the file and split it into lines, nothing more.
double readAndSplit(const QString &path, qsizetype *lines)
{
    QElapsedTimer timer;
    timer.start();
    QFile file(path);
    file.open(QIODevice::ReadOnly);
    const QByteArray data = file.readAll();
    std::vector<QByteArrayView> split;
    const char *p = data.constData();
    const char *end = p + data.size();
    while (p < end) {
        const char *lf = static_cast<const char *>(std::memchr(p, '\n', size_t(end - p)));
        const char *lineEnd = lf ? lf : end;
        split.emplace_back(p, lineEnd - p);
        p = lineEnd + 1;
    }
    *lines = qsizetype(split.size());
    return double(timer.nsecsElapsed()) / 1e6;
}

// With `existing` set, that file is measured instead of a generated one.
void run(int albums, const QString &existing = {})
{
    QTemporaryDir dir;
    const QString path = existing.isEmpty() ? dir.filePath(QStringLiteral("bench.obc")) : existing;
    std::printf("== %s\n", existing.isEmpty() ? qPrintable(QString::number(albums) + " albums")
                                              : qPrintable(existing));
    QStringList sample;
    if (existing.isEmpty())
        sample = generate(path, albums);
    std::printf("file size                 %8.1f MB\n", double(QFile(path).size()) / 1048576.0);

    qsizetype lines = 0;
    double floor = 1e30;
    for (int i = 0; i < 3; ++i)
        floor = std::min(floor, readAndSplit(path, &lines));
    std::printf("read and split (floor)    %8.1f ms  (%lld lines)\n", floor,
                static_cast<long long>(lines));

    Settings settings = Settings::defaults(dir.path(), QStringLiteral("ann"), QString());
    settings.SetOptionFlag(_GLOB_OPTION_COLLECTIONALWAYSOPEN, true);
    settings.peakCount = albums;
    resetPeak();
    const double before = peakMegabytes();
    QElapsedTimer timer;
    timer.start();
    Collection collection(settings, path);
    collection.BuildAlbumIndex();
    const double open = double(timer.nsecsElapsed()) / 1e6;
    std::printf("open + BuildAlbumIndex    %8.1f ms  (%d albums indexed)\n", open,
                collection.albumCount());
    std::printf("ratio to the floor        %8.2f x\n", open / floor);
    if (sample.isEmpty()) {
        const QList<const AlbumIndexNode *> all = collection.albums();
        for (qsizetype i = 0; i < all.size(); i += 97)
            sample.append(all.at(i)->id);
    }
    const double peak = peakMegabytes();
    std::printf("peak memory               %8.1f MB  (%.1f MB more than before opening)\n",
                peak, peak - before);

    timer.restart();
    int changed = 0;
    for (int i = 0; i < sample.size(); ++i)
        changed += collection.SetAlbumTitle(
            sample.at(i),
            QStringLiteral("Retitled %1").arg(QRandomGenerator::global()->generate()));
    const double setter = double(timer.nsecsElapsed()) / 1e6 / sample.size();
    std::printf("setter on pinned file     %8.4f ms  (mean of %d, %d changed)\n", setter,
                int(sample.size()), changed);

    timer.restart();
    const bool saved = collection.ShutdownCollection();
    std::printf("save                      %8.1f ms  (%s)\n", double(timer.nsecsElapsed()) / 1e6,
                saved ? "written" : "FAILED");
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    QList<int> sizes;
    for (int i = 1; i < argc; ++i) {
        bool isNumber = false;
        const int albums = QByteArray(argv[i]).toInt(&isNumber);
        if (isNumber)
            sizes.append(albums);
        else
            run(0, QString::fromLocal8Bit(argv[i]));
    }
    if (argc > 1 && sizes.isEmpty())
        return 0;
    if (sizes.isEmpty())
        sizes = {10000, 100000};
    for (const int albums : sizes)
        run(albums);
    return 0;
}
