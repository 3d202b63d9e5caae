#include "cli/CliQuestionPort.h"

#include "base/MessageText.h"
#include "base/StringTable.h"

namespace Orbisong::Cli {

CliQuestionPort::CliQuestionPort(QTextStream &err) : m_err(err)
{
}

QString CliQuestionPort::commandLineText(const QString &title, const QString &body)
{
    QString text = (title + QLatin1Char(' ') + body).simplified();
    const QString menu = QStringLiteral("'Options' under the 'File' menu");
    text.replace(QStringLiteral("choose a different server by clicking ") + menu,
                 QStringLiteral("choose a different server with --server"));
    text.replace(QStringLiteral("Choose a different server by clicking ") + menu,
                 QStringLiteral("Choose a different server with --server"));
    text.replace(QStringLiteral("choose a different server from the Options window"),
                 QStringLiteral("choose a different server with --server"));
    text.replace(QStringLiteral("by clicking ") + menu,
                 QStringLiteral("with `orbisong-cli settings set`"));
    text.replace(QStringLiteral("click ") + menu,
                 QStringLiteral("use `orbisong-cli settings set`"));
    text.replace(QStringLiteral("from the Options window"),
                 QStringLiteral("with `orbisong-cli settings set`"));
    return text;
}

int CliQuestionPort::ask(int id, const QString &text1, const QString &text2, const QString &text3)
{
    const MessageText message = MessageText::parse(StringTable::text(id), text1, text2, text3);
    if (message.buttons.size() < 2)
        m_err << commandLineText(message.title, message.body) << '\n';
    return message.enterResult();
}

} // namespace Orbisong::Cli
