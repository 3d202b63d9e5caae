#include "script/TQuillanPrivate.h"

#include "script/TDynaTable.h"

#include <pthread.h>

#include <unordered_set>

namespace Orbisong {

namespace {

// Strings and tables may be shared by several cells; each is counted once.
class Census
{
public:
    qint64 cell(const Cell &c)
    {
        qint64 bytes = qint64(sizeof(Cell)) + text(c.str);
        for (const Cell &m : c.members)
            bytes += cell(m);
        if (c.table && m_seen.insert(c.table.get()).second) {
            for (int i = 0; i < c.table->count(); ++i)
                bytes += cell(c.table->row(i));
        }
        return bytes;
    }

    qint64 variable(const Variable &v)
    {
        // A map element carries the tree node around it.
        constexpr qint64 MapNode = 48;
        qint64 bytes = qint64(sizeof(Variable)) + cell(v.own);
        for (const Cell &c : v.elements)
            bytes += cell(c);
        if (v.openDense) {
            for (const Cell &c : *v.openDense)
                bytes += cell(c);
        }
        for (const auto &[index, c] : v.openElements)
            bytes += MapNode + cell(c);
        return bytes;
    }

private:
    qint64 text(const QString &s)
    {
        // Short texts are rarely shared; only long ones are worth looking up.
        constexpr qsizetype Shared = 64;
        if (s.capacity() < Shared)
            return qint64(s.capacity()) * 2;
        return m_seen.insert(s.constData()).second ? qint64(s.capacity()) * 2 : 0;
    }

    std::unordered_set<const void *> m_seen;
};

} // namespace

TQuillanPrivate::NestingGuard::NestingGuard(TQuillanPrivate &engine) : m_engine(engine)
{
    if (engine.m_nesting >= TQuillan::MaxRunNesting || engine.stackRunningOut())
        engine.ReportError(63);
    ++engine.m_nesting;
}

void TQuillanPrivate::findStackLimit()
{
    // The stack grows down from the end of the area the thread was given.
    m_stackLimit = 0;
    pthread_attr_t attributes;
    if (pthread_getattr_np(pthread_self(), &attributes) != 0)
        return;
    void *low = nullptr;
    std::size_t size = 0;
    if (pthread_attr_getstack(&attributes, &low, &size) == 0 && low && size > 0)
        m_stackLimit = reinterpret_cast<std::uintptr_t>(low) + size / 4;
    pthread_attr_destroy(&attributes);
}

qint64 TQuillanPrivate::memoryInUse() const
{
    Census census;
    qint64 bytes = 0;
    for (const auto &v : m_globalStore)
        bytes += census.variable(*v);
    for (const auto &f : m_frames) {
        bytes += census.cell(f->result);
        for (const auto &v : f->locals)
            bytes += census.variable(*v);
    }
    return bytes;
}

void TQuillanPrivate::checkMemory(qint64 bytes)
{
    const qint64 used = memoryInUse();
    if (bytes > m_memoryLimit - used)
        ReportError(64);
    // Until half the room left is charged, the storage cannot have reached the limit.
    constexpr qint64 SmallestStep = 64 * 1024;
    m_charged = 0;
    m_censusStep = std::max(SmallestStep, (m_memoryLimit - used - bytes) / 2);
}

} // namespace Orbisong
