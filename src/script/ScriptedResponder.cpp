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

} // namespace Orbisong
