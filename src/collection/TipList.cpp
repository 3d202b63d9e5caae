#include "collection/TipList.h"

#include "collection/StoredText.h"

#include <QFile>
#include <QStringList>

namespace Orbisong {

extern const char *const BuiltinTipsText;

namespace {

// One of the first two fields from `at`; `at` moves past its "~". Quotes only guard "~".
QString takeField(const QString &line, qsizetype &at)
{
    QString field;
    bool quoted = false;
    for (; at < line.size(); ++at) {
        const QChar c = line.at(at);
        if (c == QLatin1Char('"')) {
            quoted = !quoted;
            continue;
        }
        if (c == QLatin1Char('~') && !quoted) {
            ++at;
            return field;
        }
        field.append(c);
    }
    return field;
}

} // namespace

Tip TipList::parseLine(const QString &line)
{
    Tip tip;
    qsizetype at = 0;
    tip.topic = takeField(line, at).trimmed();
    tip.heading = takeField(line, at).trimmed();
    tip.text = line.mid(at).trimmed();
    return tip;
}

TipList TipList::parse(const QString &text)
{
    TipList list;
    const QStringList lines = QString(text).remove(QLatin1Char('\r')).split(QLatin1Char('\n'));
    for (const QString &line : lines) {
        if (!line.trimmed().isEmpty())
            list.m_tips.append(parseLine(line));
    }
    return list;
}

TipList TipList::builtin()
{
    return parse(QString::fromUtf8(BuiltinTipsText));
}

TipList TipList::load(const QString &path)
{
    QFile file(path);
    if (file.open(QIODevice::ReadOnly))
        return parse(decodeStoredText(file.readAll()));
    return builtin();
}

int TipList::wrap(qint64 index) const
{
    if (m_tips.isEmpty())
        return 0;
    const qint64 n = m_tips.size();
    return int(((index % n) + n) % n);
}

Tip TipList::at(qint64 index) const
{
    return m_tips.isEmpty() ? Tip() : m_tips.at(wrap(index));
}

} // namespace Orbisong
