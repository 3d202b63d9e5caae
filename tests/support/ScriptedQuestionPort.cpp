#include "ScriptedQuestionPort.h"

#include "base/MessageText.h"
#include "base/StringTable.h"

int ScriptedQuestionPort::ask(int id, const QString &text1, const QString &text2,
                              const QString &text3)
{
    m_asked.append({id, {text1, text2, text3}});
    if (!m_answers.isEmpty())
        return m_answers.takeFirst();
    return Orbisong::MessageText::parse(Orbisong::StringTable::text(id)).enterResult();
}
