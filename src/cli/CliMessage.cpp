#include "cli/CliCommand.h"

#include "base/MessageText.h"
#include "base/StringTable.h"

namespace Orbisong::Cli {

namespace {

const QString Synopsis = QStringLiteral("message ID [TEXT1 [TEXT2 [TEXT3]]]  (ID 8193-17158)");

QString escapeLineBreaks(QString text)
{
    return text.replace(QLatin1String("\r\n"), QLatin1String("\\n"))
        .replace(QLatin1Char('\n'), QLatin1String("\\n"));
}

int printMessage(Context &c)
{
    if (c.args.isEmpty() || c.args.size() > 4)
        return c.usage(Synopsis);
    bool ok = false;
    const int id = c.args.at(0).toInt(&ok);
    if (!ok)
        return c.fail(QStringLiteral("not a message id: %1").arg(c.args.at(0)));
    if (!StringTable::contains(id)) {
        c.err << "no message " << id << " (ids are 8193-17158, not every one used)\n";
        return NotFound;
    }
    const MessageText message = MessageText::parse(StringTable::text(id), c.args.value(1),
                                                   c.args.value(2), c.args.value(3));
    QStringList buttons;
    for (MessageButton button : message.buttons)
        buttons.append(MessageText::nameOf(button));
    c.out << "picture: " << MessageText::nameOf(message.picture) << '\n'
          << "buttons: " << buttons.join(QLatin1Char(' ')) << '\n'
          << "default: " << MessageText::nameOf(message.defaultButton()) << '\n'
          << "title: " << escapeLineBreaks(message.title) << '\n'
          << "body: " << escapeLineBreaks(message.body) << '\n';
    return Success;
}

const Registration registration(
    QStringLiteral("message"), Synopsis, printMessage,
    QStringLiteral("  ID     a message box's number, 8193-17158 (not every number is used)\n"
                   "  TEXTn  the words put in place of the message's %1, %2 and %3\n"
                   "Prints the box's picture, buttons, default button, title and body."));

} // namespace

} // namespace Orbisong::Cli
