#pragma once

#include <QDateTime>

namespace Orbisong {

// The clock the date routines read and set; tests give the engine one of their own.
class ScriptClock
{
public:
    virtual ~ScriptClock() = default;
    virtual QDateTime now() const = 0;
    // Sets the clock to a local time; false when this process may not set it.
    virtual bool set(const QDateTime &localTime) = 0;
};

// The machine's clock.
class SystemClock : public ScriptClock
{
public:
    QDateTime now() const override { return QDateTime::currentDateTime(); }
    bool set(const QDateTime &localTime) override;
};

} // namespace Orbisong
