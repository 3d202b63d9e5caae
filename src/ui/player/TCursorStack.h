#pragma once

#include <QCursor>
#include <QList>
#include <QPair>

namespace Orbisong {

// Nested busy cursors: the screen shows the last pushed one, or the default when none is left.
class TCursorStack
{
public:
    TCursorStack() = default;
    ~TCursorStack();
    TCursorStack(const TCursorStack &) = delete;
    TCursorStack &operator=(const TCursorStack &) = delete;

    int push(const QCursor &cursor = Qt::WaitCursor);
    // Removes the entry wherever it is in the stack.
    void pop(int token);

    int depth() const { return int(m_entries.size()); }
    Qt::CursorShape shownShape() const;

private:
    void apply();

    QList<QPair<int, QCursor>> m_entries;
    int m_nextToken = 1;
    bool m_overriding = false;
};

// Pushes on construction and pops on destruction.
class BusyCursor
{
public:
    explicit BusyCursor(TCursorStack &stack) : m_stack(stack), m_token(stack.push()) {}
    ~BusyCursor() { m_stack.pop(m_token); }
    BusyCursor(const BusyCursor &) = delete;
    BusyCursor &operator=(const BusyCursor &) = delete;

private:
    TCursorStack &m_stack;
    int m_token;
};

} // namespace Orbisong
