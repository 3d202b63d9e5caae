#include "ui/player/TCursorStack.h"

#include <QGuiApplication>

namespace Orbisong {

TCursorStack::~TCursorStack()
{
    m_entries.clear();
    apply();
}

int TCursorStack::push(const QCursor &cursor)
{
    const int token = m_nextToken++;
    m_entries.append({token, cursor});
    apply();
    return token;
}

void TCursorStack::pop(int token)
{
    for (qsizetype i = 0; i < m_entries.size(); ++i) {
        if (m_entries.at(i).first == token) {
            m_entries.removeAt(i);
            apply();
            return;
        }
    }
}

Qt::CursorShape TCursorStack::shownShape() const
{
    return m_entries.isEmpty() ? Qt::ArrowCursor : m_entries.last().second.shape();
}

void TCursorStack::apply()
{
    if (m_entries.isEmpty()) {
        if (m_overriding)
            QGuiApplication::restoreOverrideCursor();
        m_overriding = false;
        return;
    }
    if (m_overriding) {
        QGuiApplication::changeOverrideCursor(m_entries.last().second);
    } else {
        QGuiApplication::setOverrideCursor(m_entries.last().second);
        m_overriding = true;
    }
}

} // namespace Orbisong
