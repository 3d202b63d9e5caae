#pragma once

#include <QString>

namespace Orbisong {

class TQuillan;

// Base of every library attached to the engine. The per-load operations run at every load so
// that the routines stay registered across reloads.
class TQuillanPlugIn
{
public:
    explicit TQuillanPlugIn(const QString &libName) : LibName(libName) {}
    virtual ~TQuillanPlugIn() = default;

    virtual void registerProcs() {}
    virtual void registerSysProcs() {}
    virtual void registerConsts() {}
    virtual void prepare() {}
    virtual void attached() {}
    // A text for an error number this library owns, or an empty text.
    virtual QString errorText(int number) const
    {
        Q_UNUSED(number);
        return {};
    }

    QString LibName;
    TQuillan *ScriptEngine = nullptr;
};

} // namespace Orbisong
