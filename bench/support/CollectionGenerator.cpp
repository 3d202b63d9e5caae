#include "CollectionGenerator.h"

#include <QFile>
#include <QRandomGenerator>

#include <algorithm>
#include <vector>

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

} // namespace

QStringList generateCollection(const QString &path, int albums)
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
    if (!file.open(QIODevice::WriteOnly))
        return {};
    QStringList sample;
    for (std::size_t i = 0; i < ids.size(); ++i) {
        file.write(albumBlock(random, ids[i]));
        if (i % 97 == 0)
            sample.append(QString::fromLatin1(ids[i]));
    }
    return sample;
}
