#include "script/InteractivePort.h"
#include "script/LibrarySupport.h"

#include <QMap>

namespace Orbisong::Library {

namespace {

enum InteractiveError { ScreenNotFound = 70, AllocationFailure = 71, CommaExpected = 72 };

Cell *itVariable(TQuillan &e)
{
    Variable *v = e.findVariable(QStringLiteral("it"));
    if (!v || !isStringType(v->type))
        v = e.createGlobal(QStringLiteral("it"), TypeString);
    return &v->target()->cell();
}

void separator(TQuillan &e)
{
    if (!e.accept(TokComma))
        e.ReportError(22, QStringLiteral(","));
}

QRect boundsArg(TQuillan &e)
{
    int values[4];
    for (int &value : values) {
        separator(e);
        value = qRound(e.numExpr());
    }
    return QRect(values[0], values[1], values[2], values[3]);
}

// Puts the value of the control's source variable, when there is one, into the control.
void fillFromSource(TQuillan &e, ScriptFormControl &control)
{
    Variable *v = control.source.isEmpty() ? nullptr : e.findVariable(control.source);
    if (!v)
        return;
    const Cell &cell = v->target()->cell();
    if (control.kind == KindCheckBox)
        control.checked = cell.boolean();
    else if (isStringType(v->type))
        control.text = cell.str;
    else if (isIntegerType(v->type))
        control.text = QString::number(qint64(cell.num));
    else if (isNumericType(v->type) || isBooleanType(v->type))
        control.text = QString::number(cell.num);
}

void storeToTarget(TQuillan &e, const ScriptFormControl &control)
{
    const bool check = control.kind == KindCheckBox;
    if (control.target.isEmpty() || !(check || control.kind == KindEdit))
        return;
    Variable *v = e.findVariable(control.target);
    if (!v)
        v = e.createGlobal(control.target, check ? TypeBoolean : TypeString);
    TQuillan::VarRef ref;
    ref.var = v;
    ref.cell = &v->target()->cell();
    ref.type = v->type;
    if (check && isBooleanType(v->type))
        ref.cell->num = control.checked ? 1 : 0;
    else if (!check && (isStringType(v->type) || isNumericType(v->type)))
        e.assignFromText(ref, control.text);
}

// Runs the routines of a shown window inside the script that showed it.
class FormRoutines : public ScriptFormHandler
{
public:
    FormRoutines(TQuillan &engine, const ScriptForm &form) : m_engine(engine), m_form(form) {}

    void shown() override { run(m_form.onShow); }
    void clicked(int id) override
    {
        for (const ScriptFormControl &control : m_form.controls) {
            if (control.id == id)
                run(control.routine);
        }
    }

private:
    void run(const QString &routine)
    {
        if (!routine.isEmpty())
            m_engine.callRoutineByName(routine, {});
    }

    TQuillan &m_engine;
    const ScriptForm &m_form;
};

class TInteractiveLibrary : public TQuillanPlugIn
{
public:
    TInteractiveLibrary() : TQuillanPlugIn(QStringLiteral("Interactive")) {}

    QString errorText(int number) const override
    {
        switch (number) {
        case ScreenNotFound:
            return QStringLiteral("Screen Specified Not Found.");
        case AllocationFailure:
            return QStringLiteral("Memory Allocation Failure.");
        case CommaExpected:
            return QStringLiteral("Comma expected");
        default:
            return {};
        }
    }

    void registerProcs() override
    {
        ScriptEngine->RegisterProc(
            QStringLiteral("procedure clearChooseBox"),
            [this](void *, TQuillan &, TProcParms &) { m_chooseList.clear(); });
        ScriptEngine->RegisterProc(
            QStringLiteral("procedure addChooseItem(item : string)"),
            [this](void *, TQuillan &, TProcParms &p) { m_chooseList << p.asString(1); });
    }

    void registerSysProcs() override
    {
        TQuillan &e = *ScriptEngine;
        e.RegisterSysProc(
            QStringLiteral("ANSWER"), TypeBoolean, true,
            [](TQuillanPlugIn *, TQuillan &engine) {
                open(engine);
                const QString prompt = stringArg(engine);
                close(engine);
                QString text;
                InteractivePort *port = engine.interactivePort();
                const bool ok = port && port->answer(prompt, &text);
                if (ok)
                    itVariable(engine)->str = text.left(254);
                return result(TypeBoolean, ok);
            },
            this);
        e.RegisterSysProc(
            QStringLiteral("CHOOSE"), TypeInteger, true,
            [](TQuillanPlugIn *, TQuillan &engine) {
                open(engine);
                const QString prompt = stringArg(engine);
                separator(engine);
                const QString preselected = stringArg(engine);
                QStringList items;
                while (engine.peekToken().code != TokCloseParen) {
                    separator(engine);
                    items << stringArg(engine);
                }
                close(engine);
                return choose(engine, prompt, preselected, items);
            },
            this);
        e.RegisterSysProc(
            QStringLiteral("CHOOSEOPTION"), TypeInteger, true,
            [this](TQuillanPlugIn *, TQuillan &engine) {
                open(engine);
                const QString prompt = stringArg(engine);
                separator(engine);
                const QString preselected = stringArg(engine);
                close(engine);
                return choose(engine, prompt, preselected, m_chooseList);
            },
            this);
        e.RegisterSysProc(
            QStringLiteral("CREATEFORM"), 0, false,
            [this](TQuillanPlugIn *, TQuillan &engine) {
                open(engine);
                const QString name = stringArg(engine).toUpper();
                separator(engine);
                ScriptForm screen;
                screen.name = name;
                screen.caption = stringArg(engine).left(100);
                screen.bounds = boundsArg(engine);
                if (engine.accept(TokComma))
                    screen.onShow = stringArg(engine);
                close(engine);
                m_screens.insert(name, screen);
                return none();
            },
            this);
        auto adder = [this](int kind, bool hasSource, bool hasCaption, bool hasRoutine) {
            return [this, kind, hasSource, hasCaption, hasRoutine](TQuillanPlugIn *,
                                                                   TQuillan &engine) {
                open(engine);
                const QString name = stringArg(engine).toUpper();
                ScriptFormControl control;
                control.kind = kind;
                if (kind == 128) {
                    separator(engine);
                    control.routine = stringArg(engine);
                }
                if (hasSource) {
                    separator(engine);
                    control.source = stringArg(engine);
                    separator(engine);
                    control.target = stringArg(engine);
                }
                if (hasCaption) {
                    separator(engine);
                    control.caption = stringArg(engine).left(100);
                }
                control.bounds = boundsArg(engine);
                if (hasRoutine && engine.accept(TokComma))
                    control.routine = stringArg(engine);
                close(engine);
                auto found = m_screens.find(name);
                if (found == m_screens.end())
                    engine.ReportError(ScreenNotFound);
                control.id = 100 + ++found->counter;
                found->controls.push_back(control);
                return result(TypeWord, control.id - 102);
            };
        };
        e.RegisterSysProc(QStringLiteral("ADDEDITBOX"), TypeWord, true,
                          adder(129, true, false, true), this);
        e.RegisterSysProc(QStringLiteral("ADDCHECKBOX"), TypeWord, true,
                          adder(144, true, true, true), this);
        e.RegisterSysProc(QStringLiteral("ADDPUSHBUTTON"), TypeWord, true,
                          adder(128, false, true, false), this);
        e.RegisterSysProc(QStringLiteral("ADDSTATIC"), TypeWord, true,
                          adder(130, false, true, false), this);
        e.RegisterSysProc(
            QStringLiteral("FORMDIALOG"), TypeBoolean, true,
            [this](TQuillanPlugIn *, TQuillan &engine) {
                open(engine);
                const QString name = stringArg(engine).toUpper();
                close(engine);
                const auto found = m_screens.constFind(name);
                if (found == m_screens.constEnd())
                    engine.ReportError(ScreenNotFound);
                InteractivePort *port = engine.interactivePort();
                if (!port)
                    return result(TypeBoolean, 0);
                ScriptForm form = *found;
                for (ScriptFormControl &control : form.controls)
                    fillFromSource(engine, control);
                FormRoutines routines(engine, form);
                const int code = port->showForm(form, routines);
                if (code == 1) {
                    for (const ScriptFormControl &control : form.controls)
                        storeToTarget(engine, control);
                } else if (code != 2) {
                    port->messageBox(QString::number(code), QStringLiteral("Return"), 0);
                }
                return result(TypeBoolean, code == 1);
            },
            this);
        registerControlRoutines(e);
    }

private:
    enum ControlOp {
        Enable,
        Disable,
        Show,
        Hide,
        IsEnabled,
        IsVisible,
        GetText,
        SetText,
        GetCheck,
        SetCheck
    };

    // With no script window shown, the control routines change nothing.
    static Cell controlRoutine(TQuillan &engine, ControlOp op)
    {
        open(engine);
        const int id = qRound(engine.numExpr()) + 102;
        QString text;
        bool check = false;
        if (op == SetText || op == SetCheck) {
            separator(engine);
            if (op == SetCheck)
                check = engine.boolExpr();
            else
                text = stringArg(engine);
        }
        close(engine);
        InteractivePort *port = engine.interactivePort();
        ScriptFormControl c;
        const bool live = port && port->readControl(id, &c);
        switch (op) {
        case IsEnabled:
            return result(TypeBoolean, live && c.enabled);
        case IsVisible:
            return result(TypeBoolean, live && c.visible);
        case GetCheck:
            return result(TypeBoolean, live && c.checked);
        case GetText:
            return result(live ? c.text : QString());
        case Enable:
        case Disable:
            c.enabled = op == Enable;
            break;
        case Show:
        case Hide:
            c.visible = op == Show;
            break;
        case SetText:
            c.text = text;
            break;
        case SetCheck:
            c.checked = check;
            break;
        }
        if (live)
            port->writeControl(c);
        return none();
    }

    void registerControlRoutines(TQuillan &e)
    {
        const struct
        {
            const char *name;
            int type;
            ControlOp op;
        } routines[] = {{"DLGENABLECONTROL", 0, Enable},
                        {"DLGDISABLECONTROL", 0, Disable},
                        {"DLGSHOWCONTROL", 0, Show},
                        {"DLGHIDECONTROL", 0, Hide},
                        {"DLGISCONTROLENABLED", TypeBoolean, IsEnabled},
                        {"DLGISCONTROLVISIBLE", TypeBoolean, IsVisible},
                        {"DLGGETCONTROLTEXT", TypeString, GetText},
                        {"DLGSETCONTROLTEXT", 0, SetText},
                        {"DLGGETCONTROLCHECK", TypeBoolean, GetCheck},
                        {"DLGSETCONTROLCHECK", 0, SetCheck}};
        for (const auto &r : routines) {
            const ControlOp op = r.op;
            e.RegisterSysProc(
                QString::fromLatin1(r.name), r.type, r.type != 0,
                [op](TQuillanPlugIn *, TQuillan &engine) { return controlRoutine(engine, op); },
                this);
        }
    }

    static Cell choose(TQuillan &engine, const QString &prompt, const QString &preselected,
                       const QStringList &items)
    {
        InteractivePort *port = engine.interactivePort();
        const int index = port ? port->choose(prompt, items, int(items.indexOf(preselected))) : -1;
        if (index >= 0 && index < items.size())
            itVariable(engine)->str = items.at(index);
        else if (port)
            itVariable(engine)->str.clear();
        return result(TypeInteger, index >= 0 && index < items.size() ? index : -1);
    }

    QStringList m_chooseList;
    QMap<QString, ScriptForm> m_screens;
};

} // namespace

std::unique_ptr<TQuillanPlugIn> makeInteractiveLibrary()
{
    return std::make_unique<TInteractiveLibrary>();
}

} // namespace Orbisong::Library
