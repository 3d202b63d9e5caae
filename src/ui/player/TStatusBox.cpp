#include "ui/player/TStatusBox.h"

#include <QElapsedTimer>
#include <QLabel>

namespace Orbisong {

TStatusBox::TStatusBox(QLabel *label, Clock clock) : m_label(label), m_clock(std::move(clock))
{
    if (!m_clock) {
        m_clock = [] {
            static QElapsedTimer timer;
            if (!timer.isValid())
                timer.start();
            return timer.elapsed() + 1;
        };
    }
}

qint64 TStatusBox::now() const
{
    return m_clock();
}

int TStatusBox::add(const QString &text, int seconds, Notify onShown, Notify onRemoved)
{
    const int handle = m_nextHandle++;
    const qint64 expires = seconds > 0 ? now() + qint64(seconds) * 1000 : 0;
    m_items.prepend({handle, text, expires, std::move(onShown), std::move(onRemoved)});
    showFirst();
    return handle;
}

void TStatusBox::remove(int handle)
{
    for (qsizetype i = 0; i < m_items.size(); ++i) {
        if (m_items.at(i).handle != handle)
            continue;
        const Item item = m_items.takeAt(i);
        if (i == 0) {
            if (item.onRemoved)
                item.onRemoved();
            showFirst();
        }
        return;
    }
}

void TStatusBox::removeExpired()
{
    const qint64 t = now();
    if (m_lastSweepMs >= 0 && t - m_lastSweepMs < 1000)
        return;
    m_lastSweepMs = t;
    QList<int> expired;
    for (const Item &item : std::as_const(m_items)) {
        if (item.expiresMs != 0 && item.expiresMs <= t)
            expired.append(item.handle);
    }
    for (int handle : expired)
        remove(handle);
}

QString TStatusBox::shownText() const
{
    return m_items.isEmpty() ? QString() : m_items.first().text;
}

void TStatusBox::showFirst()
{
    if (m_label)
        m_label->setText(shownText());
    if (!m_items.isEmpty() && m_items.first().onShown)
        m_items.first().onShown();
}

} // namespace Orbisong
