#include "script/ScriptedResponder.h"

#include <memory>

namespace Orbisong {

ScriptedResponder::ScriptedResponder(const QStringList &lines)
{
    auto remaining = std::make_shared<QStringList>(lines);
    m_source = [remaining](QString *line) {
        if (remaining->isEmpty())
            return false;
        *line = remaining->takeFirst();
        return true;
    };
}

int ScriptedResponder::messageBox(const QString &text, const QString &title, int flags)
{
    m_shown << QStringLiteral("messageBox %1|%2|%3").arg(text, title).arg(flags);
    QString line;
    if (!m_source(&line))
        return 2;
    static const QStringList names = {QString(),
                                      QStringLiteral("ok"),
                                      QStringLiteral("cancel"),
                                      QStringLiteral("abort"),
                                      QStringLiteral("retry"),
                                      QStringLiteral("ignore"),
                                      QStringLiteral("yes"),
                                      QStringLiteral("no")};
    bool isNumber = false;
    const int number = line.trimmed().toInt(&isNumber);
    if (isNumber)
        return number;
    const qsizetype named = names.indexOf(line.trimmed().toLower());
    return named > 0 ? int(named) : 1;
}

bool ScriptedResponder::answer(const QString &prompt, QString *text)
{
    m_shown << QStringLiteral("answer %1").arg(prompt);
    QString line;
    if (!m_source(&line))
        return false;
    *text = line.left(254);
    return true;
}

int ScriptedResponder::choose(const QString &prompt, const QStringList &items, int preselected)
{
    m_shown << QStringLiteral("choose %1|%2|%3")
                   .arg(prompt, items.join(QLatin1Char(',')))
                   .arg(preselected);
    QString line;
    if (!m_source(&line))
        return -1;
    line = line.trimmed();
    if (line.isEmpty())
        return preselected;
    bool isNumber = false;
    const int index = line.toInt(&isNumber);
    if (isNumber)
        return index >= 0 && index < items.size() ? index : -1;
    return int(items.indexOf(line));
}

namespace {

ScriptFormControl *controlOf(ScriptForm *form, int id)
{
    for (ScriptFormControl &control : form->controls) {
        if (control.id == id)
            return &control;
    }
    return nullptr;
}

} // namespace

int ScriptedResponder::showForm(ScriptForm &form, ScriptFormHandler &handler)
{
    m_shown << QStringLiteral("form %1|%2").arg(form.name, form.caption);
    m_forms << &form;
    handler.shown();
    QString line;
    int code = 2;
    if (m_source(&line)) {
        for (const QString &part : line.split(QLatin1Char(';'))) {
            const QString step = part.trimmed();
            const qsizetype equals = step.indexOf(QLatin1Char('='));
            if (step.compare(QLatin1String("ok"), Qt::CaseInsensitive) == 0) {
                code = 1;
                break;
            }
            if (step.compare(QLatin1String("cancel"), Qt::CaseInsensitive) == 0)
                break;
            if (step.startsWith(QLatin1String("click "), Qt::CaseInsensitive)) {
                const int id = step.mid(6).trimmed().toInt() + 102;
                ScriptFormControl *control = controlOf(&form, id);
                if (control && control->kind == KindCheckBox)
                    control->checked = !control->checked;
                if (control && control->enabled)
                    handler.clicked(id);
            } else if (equals > 0) {
                ScriptFormControl *control = controlOf(&form, step.left(equals).toInt() + 102);
                const QString value = step.mid(equals + 1);
                if (control && control->kind == KindCheckBox)
                    control->checked =
                        value.compare(QLatin1String("true"), Qt::CaseInsensitive) == 0;
                else if (control)
                    control->text = value;
            }
        }
    }
    m_forms.removeLast();
    return code;
}

bool ScriptedResponder::readControl(int id, ScriptFormControl *control)
{
    const ScriptFormControl *found = m_forms.isEmpty() ? nullptr : controlOf(m_forms.last(), id);
    if (found)
        *control = *found;
    return found;
}

void ScriptedResponder::writeControl(const ScriptFormControl &control)
{
    if (ScriptFormControl *found =
            m_forms.isEmpty() ? nullptr : controlOf(m_forms.last(), control.id))
        *found = control;
}

} // namespace Orbisong
