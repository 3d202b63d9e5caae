#include "print/TemplateExpander.h"

#include "collection/AlbumText.h"
#include "collection/MultilineCodec.h"

#include <QDate>
#include <QLocale>
#include <QMap>
#include <QTime>

#include <algorithm>

namespace Orbisong {

namespace {

const QString None = QStringLiteral("(None)");
const QStringList GroupKinds = {QStringLiteral("ARTIST"), QStringLiteral("BINDER"),
                                QStringLiteral("CATEGORY"), QStringLiteral("OWNER"),
                                QStringLiteral("YEAR")};

QString orNone(const QString &value)
{
    return value.isEmpty() ? None : value;
}

QString groupValue(const PrintAlbum &album, const QString &kind)
{
    if (kind == QLatin1String("ARTIST"))
        return orNone(album.artist);
    if (kind == QLatin1String("BINDER"))
        return orNone(album.binder);
    if (kind == QLatin1String("CATEGORY"))
        return orNone(album.category);
    if (kind == QLatin1String("OWNER"))
        return orNone(album.owner);
    return orNone(album.year);
}

// A value as rich text: its line breaks become paragraph marks.
QString rtfEscaped(const QString &value)
{
    QString out;
    for (const QChar c : value) {
        if (c == QLatin1Char('\r'))
            out += QLatin1String("\\par ");
        else if (c == QLatin1Char('\\') || c == QLatin1Char('{') || c == QLatin1Char('}'))
            out += QLatin1Char('\\') + c;
        else if (c != QLatin1Char('\n'))
            out += c;
    }
    return out;
}

// Blank-separated words; double quotes group words.
QStringList splitWords(const QString &tag)
{
    QStringList words;
    QString word;
    bool quoted = false;
    bool inWord = false;
    for (const QChar c : tag) {
        if (c == QLatin1Char('"')) {
            quoted = !quoted;
            inWord = true;
        } else if (c == QLatin1Char(' ') && !quoted) {
            if (inWord)
                words.append(word);
            word.clear();
            inWord = false;
        } else {
            word += c;
            inWord = true;
        }
    }
    if (inWord)
        words.append(word);
    return words;
}

} // namespace

struct TemplateExpander::Token
{
    enum Kind { Text, Variable, Command } kind = Text;
    QString text; // the text, the variable name or the command name, upper-cased
    QString argument;
};

TemplateExpander::TemplateExpander() = default;

void TemplateExpander::setVariable(const QString &name, const QString &value)
{
    m_variables.insert(name.toUpper(), value);
}

QString TemplateExpander::variable(const QString &name) const
{
    return m_variables.value(name.toUpper());
}

void TemplateExpander::setReportVariables(int albumCount, int page)
{
    const QLocale locale;
    setVariable(QStringLiteral("PROGRAM"), QStringLiteral("Orbisong"));
    setVariable(QStringLiteral("VERSION"), QStringLiteral("4.0.3"));
    setVariable(QStringLiteral("DATE"), locale.toString(QDate::currentDate(), QLocale::LongFormat));
    setVariable(QStringLiteral("TIME"),
                locale.toString(QTime::currentTime(), QLocale::ShortFormat));
    setVariable(QStringLiteral("ALBUM_COUNT"), QString::number(albumCount));
    setVariable(QStringLiteral("PAGE"), QString::number(page));
}

void TemplateExpander::loadAlbum(const PrintAlbum &album)
{
    m_album = &album;
    for (const QString &line : album.customData) {
        const qsizetype eq = line.indexOf(QLatin1Char('='));
        if (eq > 0)
            setVariable(QStringLiteral("ALBUM_") + line.left(eq).trimmed(), line.mid(eq + 1));
    }
    setVariable(QStringLiteral("ALBUM"), album.id);
    setVariable(QStringLiteral("ALBUM_ID"), album.id);
    setVariable(QStringLiteral("ALBUM_TITLE"), album.title);
    setVariable(QStringLiteral("ALBUM_ARTIST"), orNone(album.artist));
    setVariable(QStringLiteral("ALBUM_BINDER"), orNone(album.binder));
    setVariable(QStringLiteral("ALBUM_CATEGORY"), orNone(album.category));
    setVariable(QStringLiteral("ALBUM_OWNER"), orNone(album.owner));
    setVariable(QStringLiteral("ALBUM_YEAR"), orNone(album.year));
    setVariable(QStringLiteral("ALBUM_LENGTH"), albumLength(album.seconds));
    setVariable(QStringLiteral("ALBUM_COPYRIGHT"), album.copyright);
    setVariable(QStringLiteral("ALBUM_COMMENTS"), DecodeMultiline(album.comments));
    setVariable(QStringLiteral("ALBUM_INDEX"), album.index);
}

void TemplateExpander::loadTrack(const PrintAlbum &album, int n)
{
    const PrintAlbum::Track &track = album.tracks.at(n - 1);
    setVariable(QStringLiteral("TRACK_NUMBER"), QString::number(n));
    setVariable(QStringLiteral("TRACK_TITLE"),
                track.title.isEmpty() ? QStringLiteral("Track %1").arg(n) : track.title);
    // Notes are stored in their one-line form; printed, their line breaks are lines again.
    setVariable(QStringLiteral("TRACK_OTHER"), DecodeMultiline(track.other));
    setVariable(QStringLiteral("TRACK_LENGTH"), trackLength(track.frames));
}

QString TemplateExpander::trackLength(int frames)
{
    return QStringLiteral("%1:%2")
        .arg(frames / 4500)
        .arg(frames / 75 % 60, 2, 10, QLatin1Char('0'));
}

QString TemplateExpander::albumLength(int seconds)
{
    return QStringLiteral("%1:%2").arg(seconds / 60).arg(seconds % 60, 2, 10, QLatin1Char('0'));
}

QString TemplateExpander::titleKey(const PrintAlbum &album)
{
    return SortKey(album.title, 0).toUpper();
}

QString TemplateExpander::artistKey(const QString &artist, int flags)
{
    return SortKey(artist, flags).toUpper();
}

QString TemplateExpander::expand(const QString &text, const QList<PrintAlbum> &albums)
{
    const Tokens tokens = scan(text);
    QString out;
    qsizetype i = 0;
    // A stray "[&end]" at the top level ends nothing; the text after it still counts.
    while (i < tokens.size())
        i = run(tokens, i, albums, &out);
    return out;
}

TemplateExpander::Tokens TemplateExpander::scan(const QString &text)
{
    Tokens tokens;
    QString plain;
    qsizetype i = 0;
    while (i < text.size()) {
        const QChar c = text.at(i);
        if (c != QLatin1Char('[')) {
            plain += c;
            ++i;
            continue;
        }
        if (i + 1 < text.size() && text.at(i + 1) == QLatin1Char('[')) {
            plain += c;
            i += 2;
            continue;
        }
        qsizetype close = text.indexOf(QLatin1Char(']'), i + 1);
        if (close < 0)
            close = text.size();
        const QStringList words = splitWords(text.mid(i + 1, close - i - 1));
        i = close + 1;
        if (words.isEmpty())
            continue;
        const QString first = words.first();
        if (!first.startsWith(QLatin1Char('%')) && !first.startsWith(QLatin1Char('&')))
            continue;
        if (!plain.isEmpty())
            tokens.append({Token::Text, plain, {}});
        plain.clear();
        const auto kind = first.startsWith(QLatin1Char('%')) ? Token::Variable : Token::Command;
        tokens.append({kind, first.mid(1).toUpper(), words.value(1).toUpper()});
    }
    if (!plain.isEmpty())
        tokens.append({Token::Text, plain, {}});
    return tokens;
}

void TemplateExpander::appendText(QString &out, const QString &text)
{
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (c == QLatin1Char('\\') && i + 1 < text.size() && text.at(i + 1) == QLatin1Char('\\')) {
            out += QLatin1String("\\\\");
            ++i;
            continue;
        }
        if (c == QLatin1Char('\\') &&
            text.mid(i + 1, 3).compare(QLatin1String("par"), Qt::CaseInsensitive) == 0) {
            const QChar after = i + 4 < text.size() ? text.at(i + 4) : QChar();
            if (after == QLatin1Char(' ')) {
                i += 4;
                continue;
            }
            if (after == QLatin1Char('\\')) {
                i += 3;
                continue;
            }
        }
        out += c;
    }
}

qsizetype TemplateExpander::run(const Tokens &tokens, qsizetype i, const QList<PrintAlbum> &albums,
                                QString *out)
{
    while (i < tokens.size()) {
        const Token &token = tokens.at(i++);
        if (token.kind == Token::Text) {
            if (out)
                appendText(*out, token.text);
        } else if (token.kind == Token::Variable) {
            if (out)
                *out += rtfEscaped(variable(token.text));
        } else if (token.text == QLatin1String("END")) {
            return i;
        } else if (token.text == QLatin1String("NL")) {
            if (out)
                *out += QLatin1String("\\par ");
        } else if (token.text == QLatin1String("TAB")) {
            if (out)
                *out += QLatin1String("\\tab ");
        } else if (token.text == QLatin1String("FOREACH")) {
            if (out)
                runLoop(token.argument, tokens, i, albums, *out);
            i = run(tokens, i, albums, nullptr);
        }
    }
    return i;
}

void TemplateExpander::runLoop(const QString &kind, const Tokens &tokens, qsizetype body,
                               const QList<PrintAlbum> &albums, QString &out)
{
    if (kind == QLatin1String("ALBUM")) {
        QList<const PrintAlbum *> chosen;
        for (const PrintAlbum &album : albums) {
            if (passesFilters(album))
                chosen.append(&album);
        }
        std::stable_sort(chosen.begin(), chosen.end(),
                         [](const auto *a, const auto *b) { return titleKey(*a) < titleKey(*b); });
        for (const PrintAlbum *album : chosen) {
            const auto saved = m_variables;
            const PrintAlbum *outer = m_album;
            setVariable(QStringLiteral("ALBUM_NUMBER"), QString::number(m_counter++));
            loadAlbum(*album);
            run(tokens, body, albums, &out);
            m_variables = saved;
            m_album = outer;
        }
    } else if (kind == QLatin1String("TRACK")) {
        if (!m_album)
            return;
        const PrintAlbum *album = m_album;
        const auto saved = m_variables;
        for (int n = 1; n <= album->tracks.size(); ++n) {
            loadTrack(*album, n);
            run(tokens, body, albums, &out);
        }
        m_variables = saved;
    } else if (GroupKinds.contains(kind)) {
        // Keyed by sort key and then the value itself: "The Band" and "Band" sort together
        // but stay two values.
        QMap<QString, QString> values;
        for (const PrintAlbum &album : albums) {
            const QString value = groupValue(album, kind);
            const QString sortKey =
                kind == QLatin1String("ARTIST") ? artistKey(value, album.flags) : value.toUpper();
            const QString key = sortKey + QChar(1) + value.toUpper();
            if (!values.contains(key))
                values.insert(key, value);
        }
        const bool wasSet = m_variables.contains(kind);
        const QString previous = m_variables.value(kind);
        for (const QString &value : std::as_const(values)) {
            setVariable(kind, value);
            run(tokens, body, albums, &out);
        }
        if (wasSet)
            setVariable(kind, previous);
        else
            m_variables.remove(kind);
    }
}

bool TemplateExpander::passesFilters(const PrintAlbum &album) const
{
    for (const QString &kind : GroupKinds) {
        const auto found = m_variables.constFind(kind);
        if (found != m_variables.constEnd() &&
            groupValue(album, kind).compare(*found, Qt::CaseInsensitive) != 0)
            return false;
    }
    return true;
}

} // namespace Orbisong
