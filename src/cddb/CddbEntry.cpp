#include "cddb/CddbEntry.h"

#include "collection/DiscId.h"
#include "collection/MultilineCodec.h"

#include <QRegularExpression>

#include <algorithm>

namespace Orbisong {

namespace {

const QChar Cr(13);
const QChar LinkSeparator(14);
const QString CopyrightHolder = QStringLiteral("the Orbisong authors");
const QString SubmittedVia = QStringLiteral("Orbisong 4.0.3");
constexpr int MaxTracks = 99;

// Any script's letters count, so that words of UTF-8 entries are cased as words.
bool isLetter(QChar c)
{
    return c.isLetter();
}

// Values from outside end up in CR-separated lists: a control character would split or
// corrupt them.
QString blankControls(QString text)
{
    for (QChar &c : text) {
        if (c.unicode() < 32 || c.unicode() == 127)
            c = QLatin1Char(' ');
    }
    return text;
}

QString printableOnly(QString text)
{
    for (QChar &c : text) {
        if (c.unicode() < 32 || c.unicode() > 126)
            c = QLatin1Char(' ');
    }
    return text;
}

// Blank-separated words; runs of blanks count as one separator and double quotes group words.
QStringList splitWords(const QString &line)
{
    QStringList words;
    QString current;
    bool quoted = false;
    bool inWord = false;
    for (const QChar c : line) {
        if (c == QLatin1Char('"')) {
            quoted = !quoted;
            inWord = true;
        } else if (c == QLatin1Char(' ') && !quoted) {
            if (inWord)
                words.append(current);
            current.clear();
            inWord = false;
        } else {
            current.append(c);
            inWord = true;
        }
    }
    if (inWord)
        words.append(current);
    return words;
}

// Values are cut into lines of at most 75 bytes after "KEY=", never inside a character.
void appendKeyLines(QString &out, const QString &key, const QString &value, bool utf8)
{
    const QString clean = utf8 ? blankControls(value) : printableOnly(value);
    const int chunk = 75 - int(key.size());
    qsizetype pos = 0;
    do {
        qsizetype end = pos;
        int bytes = 0;
        while (end < clean.size()) {
            const bool pair = clean.at(end).isHighSurrogate() && end + 1 < clean.size();
            const int width = int(clean.mid(end, pair ? 2 : 1).toUtf8().size());
            if (bytes + width > chunk)
                break;
            bytes += width;
            end += pair ? 2 : 1;
        }
        out += key + QLatin1Char('=') + clean.mid(pos, end - pos) + QLatin1Char('\n');
        pos = end;
    } while (pos < clean.size());
}

int revisionOf(const QStringList &lines)
{
    for (const QString &line : lines) {
        if (!line.left(11).startsWith(QLatin1String("# Revision:"), Qt::CaseInsensitive) ||
            line.size() < 11)
            continue;
        const int value = line.mid(12, 4).trimmed().toInt();
        if (value != 0)
            return value;
    }
    return 0;
}

} // namespace

const QStringList &CddbCategories()
{
    static const QStringList categories{
        QStringLiteral("blues"), QStringLiteral("classical"), QStringLiteral("country"),
        QStringLiteral("data"),  QStringLiteral("folk"),      QStringLiteral("jazz"),
        QStringLiteral("misc"),  QStringLiteral("newage"),    QStringLiteral("reggae"),
        QStringLiteral("rock"),  QStringLiteral("soundtrack")};
    return categories;
}

bool IsCddbCategory(const QString &text)
{
    return CddbCategories().contains(text, Qt::CaseInsensitive);
}

QString CddbCategoryName(const QString &category)
{
    if (category.compare(QLatin1String("Classica"), Qt::CaseInsensitive) == 0)
        return QStringLiteral("Classical");
    return TitleCase(category);
}

bool IsCddbDiscId(const QString &text)
{
    if (text.size() != 8)
        return false;
    return std::all_of(text.begin(), text.end(), [](QChar c) {
        return c.isDigit() || (c.toLower() >= QLatin1Char('a') && c.toLower() <= QLatin1Char('f'));
    });
}

int DiscIdTrackCount(const QString &discId)
{
    bool ok = false;
    const int count = discId.mid(6, 2).toInt(&ok, 16);
    // A disc has at most 99 tracks, whatever the last byte of an id says.
    return ok && discId.size() >= 8 ? std::min(count, MaxTocTracks) : 0;
}

QString TitleCase(const QString &text)
{
    QString out = text;
    for (qsizetype i = 0; i < out.size(); ++i) {
        const QChar c = out.at(i);
        if (!isLetter(c))
            continue;
        bool upper = i == 0;
        if (i > 0) {
            const QChar before = out.at(i - 1);
            upper = !isLetter(before) && before != QLatin1Char('\'') && before != QLatin1Char('-');
        }
        out[i] = upper ? c.toUpper() : c.toLower();
    }
    return out;
}

void SplitArtistTitle(const QString &text, QString *artist, QString *title)
{
    const qsizetype slash = text.indexOf(QLatin1Char('/'));
    if (slash < 0) {
        *artist = TitleCase(text.trimmed());
        *title = *artist;
        return;
    }
    *artist = TitleCase(text.left(slash).trimmed());
    *title = TitleCase(text.mid(slash + 1).trimmed());
}

QString GetEntryValue(const QString &key, const QStringList &lines)
{
    QString result;
    for (const QString &line : lines) {
        const qsizetype eq = line.indexOf(QLatin1Char('='));
        if (eq < 0 || line.left(eq).compare(key, Qt::CaseInsensitive) != 0)
            continue;
        const QString value = line.mid(eq + 1);
        // An empty value ends the continuation, and an empty first value means no value.
        if (value.isEmpty())
            break;
        result += value;
    }
    return result;
}

QStringList SplitEntryLines(const QString &entryText)
{
    QStringList lines = entryText.split(QLatin1Char('\n'));
    for (QString &line : lines) {
        if (line.endsWith(Cr))
            line.chop(1);
    }
    return lines;
}

QString CheckXmcdEntry(const QString &entryText, const QString &discId)
{
    const QStringList lines = SplitEntryLines(entryText);
    if (lines.isEmpty() || !lines.first().startsWith(QLatin1String("# xmcd")))
        return QStringLiteral("no \"# xmcd\" signature on the first line");
    const QString ids = GetEntryValue(QStringLiteral("DISCID"), lines);
    if (ids.isEmpty())
        return QStringLiteral("no DISCID line");
    bool named = false;
    for (const QString &id : ids.split(QLatin1Char(',')))
        named = named || id.trimmed().compare(discId, Qt::CaseInsensitive) == 0;
    if (!named)
        return QStringLiteral("DISCID %1 does not name disc %2").arg(ids.trimmed(), discId);
    if (GetEntryValue(QStringLiteral("DTITLE"), lines).trimmed().isEmpty())
        return QStringLiteral("no DTITLE line");
    return {};
}

CddbAlbumFields ReadCddbEntry(const QString &category, int source, const QStringList &lines,
                              int discTrackCount)
{
    CddbAlbumFields fields;
    fields.revision = revisionOf(lines) + 1;
    SplitArtistTitle(blankControls(GetEntryValue(QStringLiteral("DTITLE"), lines)), &fields.artist,
                     &fields.title);
    fields.category = CddbCategoryName(category);
    fields.source = source;

    int count = DiscIdTrackCount(GetEntryValue(QStringLiteral("DISCID"), lines));
    if (discTrackCount > 0)
        count = std::min(count, discTrackCount);
    count = std::min(count, MaxTracks);
    fields.trackCount = count;

    QStringList titles;
    for (int i = 0; i < std::max(count, 1); ++i) {
        const QString key = QStringLiteral("TTITLE%1").arg(i);
        titles.append(TitleCase(blankControls(GetEntryValue(key, lines)).trimmed()));
    }
    fields.trackTitles = titles.join(Cr);

    QStringList extended;
    for (int i = 0; i < count; ++i) {
        const QString key = QStringLiteral("EXTT%1").arg(i);
        extended.append(blankControls(GetEntryValue(key, lines)).trimmed());
    }
    fields.extendedTrackData = extended.join(Cr);

    const QString extd =
        DecodeMultiline(GetEntryValue(QStringLiteral("EXTD"), lines), UnknownEscape::Keep)
            .trimmed();
    QStringList comments;
    QStringList links;
    const QStringList extdLines = extd.split(QRegularExpression(QStringLiteral("\r\n|\r|\n")));
    for (const QString &rawLine : extdLines) {
        const QString line = blankControls(rawLine);
        if (!line.left(4).startsWith(QLatin1String("URL:"), Qt::CaseInsensitive)) {
            comments.append(line);
            continue;
        }
        const QStringList words = splitWords(line);
        const QString address = words.value(1);
        if (!address.startsWith(QLatin1String("http://"), Qt::CaseInsensitive))
            continue;
        const QString description = words.size() > 2 ? words.at(2) : address;
        links.append(address + LinkSeparator + description + LinkSeparator + QLatin1Char('0'));
    }
    if (extd.isEmpty())
        comments.clear();
    fields.comments = comments.join(QLatin1String("\r\n"));
    fields.webLinks = links.join(Cr);
    return fields;
}

QString WriteCddbEntry(const CddbWriteInput &input, int year)
{
    const int count = DiscIdTrackCount(input.discId);
    if (count <= 0)
        return {};
    const int revision = input.revision < 1 || input.revision > 1000 ? 1 : input.revision;
    const QStringList offsets = input.trackOffsets.split(Cr);
    const QStringList titles = input.trackTitles.split(Cr);
    const QStringList extended = input.extendedTrackData.split(Cr);

    QString out;
    out += QLatin1String("# xmcd CD database file\n");
    out += QStringLiteral("# Copyright (C) %1 %2\n")
               .arg(year, 4, 10, QLatin1Char('0'))
               .arg(CopyrightHolder);
    out += QLatin1String("# \n# Track frame offsets:\n");
    for (int i = 0; i < count; ++i)
        out += QLatin1String("#     ") + offsets.value(i) + QLatin1Char('\n');
    out += QLatin1String("# \n");
    out += QStringLiteral("# Disc length: %1 seconds\n").arg(input.discLengthSeconds);
    out += QLatin1String("# \n");
    out += QStringLiteral("# Revision: %1\n").arg(revision);
    out += QLatin1String("# Submitted via: ") + SubmittedVia + QLatin1Char('\n');
    out += QLatin1String("# \n");

    const QString artist = input.artist.trimmed();
    const QString title = input.title.trimmed();
    QString dtitle;
    if (artist.isEmpty())
        dtitle = title;
    else
        dtitle = artist + QLatin1String(" / ") + (title.isEmpty() ? artist : title);

    QString extd;
    if (input.submitComments && !input.comments.trimmed().isEmpty())
        extd = input.comments;
    if (input.submitWebLinks && !input.webLinks.isEmpty()) {
        for (const QString &item : input.webLinks.split(Cr)) {
            const QStringList parts = item.split(LinkSeparator);
            const QString address = parts.value(0).trimmed();
            if (!address.startsWith(QLatin1String("http://"), Qt::CaseInsensitive))
                continue;
            extd += QLatin1String("\\nURL: ") + address + QLatin1String(" \"") +
                    parts.value(1).trimmed() + QLatin1Char('"');
        }
    }

    const bool utf8 = input.utf8;
    appendKeyLines(out, QStringLiteral("DISCID"), input.discId.toLower(), utf8);
    appendKeyLines(out, QStringLiteral("DTITLE"), dtitle, utf8);
    for (int i = 0; i < count; ++i)
        appendKeyLines(out, QStringLiteral("TTITLE%1").arg(i), titles.value(i), utf8);
    appendKeyLines(out, QStringLiteral("EXTD"), extd, utf8);
    for (int i = 0; i < count; ++i)
        appendKeyLines(out, QStringLiteral("EXTT%1").arg(i), extended.value(i), utf8);
    appendKeyLines(out, QStringLiteral("PLAYORDER"), QString(), utf8);
    return out;
}

} // namespace Orbisong
