#include "base/QuestionPort.h"

#include "base/MessageText.h"
#include "base/StringTable.h"

#include <QLoggingCategory>

Q_LOGGING_CATEGORY(lcQuestion, "orbisong.question")

namespace Orbisong {

namespace {

DefaultAnswerPort defaultPort;
QuestionPort *currentPort = nullptr;

} // namespace

int DefaultAnswerPort::ask(int id, const QString &text1, const QString &text2,
                           const QString &text3)
{
    const MessageText message = MessageText::parse(StringTable::text(id), text1, text2, text3);
    qCInfo(lcQuestion).noquote() << id << message.title << "->" << message.enterResult();
    return message.enterResult();
}

void setQuestionPort(QuestionPort *port)
{
    currentPort = port;
}

QuestionPort *questionPort()
{
    return currentPort ? currentPort : &defaultPort;
}

int ShowQuestion(int id, const QString &text1, const QString &text2, const QString &text3)
{
    return questionPort()->ask(id, text1, text2, text3);
}

} // namespace Orbisong
