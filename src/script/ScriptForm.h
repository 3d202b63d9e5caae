#pragma once

#include <QRect>
#include <QString>

#include <vector>

namespace Orbisong {

// The kinds of script window controls, numbered as scripts and stored tables know them.
enum ScriptControlKind {
    KindPushButton = 128,
    KindEdit = 129,
    KindStatic = 130,
    KindCheckBox = 144
};

// One control of a script window: its description and, while the window is shown, its state.
struct ScriptFormControl
{
    int id = 0; // 103 for the first control; scripts number it id - 102
    int kind = 0;
    QRect bounds;
    QString caption;
    QString source;
    QString target;
    QString routine;
    QString text;
    bool checked = false;
    bool enabled = true;
    bool visible = true;
};

// A script window as CREATEFORM and the adding routines describe it.
struct ScriptForm
{
    QString name;
    QString caption;
    QRect bounds;
    int counter = 2;
    QString onShow;
    std::vector<ScriptFormControl> controls;
};

// What a shown script window calls back: the script's own routines, run inside the script.
class ScriptFormHandler
{
public:
    virtual ~ScriptFormHandler() = default;
    virtual void shown() = 0;
    virtual void clicked(int id) = 0;
};

} // namespace Orbisong
