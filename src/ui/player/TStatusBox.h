#pragma once

#include <QList>
#include <QPointer>
#include <QString>

#include <functional>

class QLabel;

namespace Orbisong {

// Timed status messages on one label: the newest is shown; expired ones fall away.
class TStatusBox
{
public:
    using Clock = std::function<qint64()>; // monotonic milliseconds
    using Notify = std::function<void()>;

    explicit TStatusBox(QLabel *label, Clock clock = {});

    // Shows `text` at once; 0 seconds keeps it until removed. Returns its handle.
    int add(const QString &text, int seconds, Notify onShown = {}, Notify onRemoved = {});
    void remove(int handle);
    // Drops expired items, at most once a second.
    void removeExpired();

    QString shownText() const;
    int count() const { return int(m_items.size()); }

private:
    struct Item
    {
        int handle;
        QString text;
        qint64 expiresMs; // 0: never
        Notify onShown;
        Notify onRemoved;
    };

    void showFirst();
    qint64 now() const;

    QPointer<QLabel> m_label;
    Clock m_clock;
    QList<Item> m_items;
    int m_nextHandle = 1;
    qint64 m_lastSweepMs = -1;
};

} // namespace Orbisong
