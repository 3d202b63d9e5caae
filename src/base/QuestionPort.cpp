#include "base/QuestionPort.h"

#include "base/MessageText.h"
#include "base/StringTable.h"

#include <QLoggingCategory>

Q_LOGGING_CATEGORY(lcQuestion, "orbisong.question")

namespace Orbisong {

int DefaultAnswerPort::ask(int id, const QString &text1, const QString &text2, const QString &text3)
{
    const MessageText message = MessageText::parse(StringTable::text(id), text1, text2, text3);
    qCInfo(lcQuestion).noquote() << id << message.title << "->" << message.enterResult();
    return message.enterResult();
}

int askOrDefault(QuestionPort *port, int id, const QString &text1, const QString &text2,
                 const QString &text3)
{
    if (port)
        return port->ask(id, text1, text2, text3);
    return DefaultAnswerPort().ask(id, text1, text2, text3);
}

} // namespace Orbisong
