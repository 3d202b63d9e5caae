#include "script/InteractivePort.h"
#include "script/LibrarySupport.h"

#include <QMap>

namespace Orbisong::Library {

namespace {

enum InteractiveError { ScreenNotFound = 70, AllocationFailure = 71, CommaExpected = 72 };

struct ScriptControl
{
    int id = 0;
    int kind = 0; // 128 push button, 129 edit, 130 static text, 144 check box
    QString caption;
    QString source;
    QString target;
    QString routine;
};

struct ScriptScreen
{
    QString caption;
    int counter = 2;
    QString onShow;
    std::vector<ScriptControl> controls;
};

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
                ScriptScreen screen;
                screen.caption = stringArg(engine).left(100);
                for (int i = 0; i < 4; ++i) {
                    separator(engine);
                    engine.numExpr();
                }
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
                ScriptControl control;
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
                for (int i = 0; i < 4; ++i) {
                    separator(engine);
                    engine.numExpr();
                }
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
                if (!m_screens.contains(name))
                    engine.ReportError(ScreenNotFound);
                // Script windows need a window system; without one the dialog is
                // cancelled and no variable changes.
                return result(TypeBoolean, 0);
            },
            this);
        // With no script window shown, the control routines change nothing.
        auto control = [](int type, bool hasValue) {
            return [type, hasValue](TQuillanPlugIn *, TQuillan &engine) {
                open(engine);
                engine.numExpr();
                if (hasValue) {
                    separator(engine);
                    if (type == TypeBoolean)
                        engine.boolExpr();
                    else
                        stringArg(engine);
                }
                close(engine);
                Cell c = result(type, 0);
                if (type == TypeString)
                    c.type = TypeString;
                return c;
            };
        };
        for (const char *name :
             {"DLGENABLECONTROL", "DLGDISABLECONTROL", "DLGSHOWCONTROL", "DLGHIDECONTROL"})
            e.RegisterSysProc(QString::fromLatin1(name), 0, false, control(0, false), this);
        for (const char *name :
             {"DLGISCONTROLENABLED", "DLGISCONTROLVISIBLE", "DLGGETCONTROLCHECK"})
            e.RegisterSysProc(QString::fromLatin1(name), TypeBoolean, true,
                              control(TypeBoolean, false), this);
        e.RegisterSysProc(QStringLiteral("DLGGETCONTROLTEXT"), TypeString, true,
                          control(TypeString, false), this);
        e.RegisterSysProc(QStringLiteral("DLGSETCONTROLTEXT"), 0, false, control(TypeString, true),
                          this);
        e.RegisterSysProc(QStringLiteral("DLGSETCONTROLCHECK"), 0, false,
                          control(TypeBoolean, true), this);
    }

private:
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
    QMap<QString, ScriptScreen> m_screens;
};

} // namespace

std::unique_ptr<TQuillanPlugIn> makeInteractiveLibrary()
{
    return std::make_unique<TInteractiveLibrary>();
}

} // namespace Orbisong::Library
