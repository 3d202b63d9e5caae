#include "cli/CliQuestionPort.h"

#include "base/MessageText.h"
#include "base/StringTable.h"

namespace Orbisong::Cli {

CliQuestionPort::CliQuestionPort(QTextStream &err) : m_err(err)
{
}

int CliQuestionPort::ask(int id, const QString &text1, const QString &text2, const QString &text3)
{
    const MessageText message = MessageText::parse(StringTable::text(id), text1, text2, text3);
    if (message.buttons.size() < 2)
        m_err << (message.title + QLatin1Char(' ') + message.body).simplified() << '\n';
    return message.enterResult();
}

} // namespace Orbisong::Cli
