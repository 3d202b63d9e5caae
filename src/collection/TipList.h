#pragma once

#include <QList>
#include <QString>

namespace Orbisong {

// One tip of the day: the help topic of its "More" button (may be empty), heading and text.
struct Tip
{
    QString topic;
    QString heading;
    QString text;
};

// The tips of the day, one a line of "topic~heading~text". In the topic and the heading a
// double quote is not shown and a "~" between two double quotes does not separate; the text
// is the rest of the line, "~" included.
class TipList
{
public:
    static TipList parse(const QString &text);
    // The tips of the file at `path` ("TIPS.TXT") when it can be read, else the built-in ones.
    static TipList load(const QString &path);
    static TipList builtin();
    static Tip parseLine(const QString &line);

    int count() const { return int(m_tips.size()); }
    bool isEmpty() const { return m_tips.isEmpty(); }
    // The position of tip `index` counted round the list: index mod count.
    int wrap(qint64 index) const;
    // The tip at wrap(index); an empty tip when there are none.
    Tip at(qint64 index) const;

private:
    QList<Tip> m_tips;
};

} // namespace Orbisong
