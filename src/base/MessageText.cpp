#include "base/MessageText.h"

#include <QStringList>

namespace Orbisong {

QStringList splitMessageFields(const QString &resource)
{
    QStringList fields;
    QString current;
    bool quoted = false;
    for (const QChar c : resource) {
        if (c == QLatin1Char('"')) {
            quoted = !quoted;
        } else if (c == QLatin1Char('~') && !quoted) {
            fields.append(current);
            current.clear();
        } else {
            current.append(c);
        }
    }
    fields.append(current);
    return fields;
}

QString substitutePlaceholders(const QString &text, const QString &text1, const QString &text2,
                               const QString &text3)
{
    QString result;
    result.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (c == QLatin1Char('%') && i + 1 < text.size()) {
            const QChar n = text.at(i + 1);
            if (n == QLatin1Char('1') || n == QLatin1Char('2') || n == QLatin1Char('3')) {
                result += n == QLatin1Char('1') ? text1 : n == QLatin1Char('2') ? text2 : text3;
                ++i;
                continue;
            }
        }
        result += c;
    }
    return result;
}

MessageText MessageText::parse(const QString &resource, const QString &text1,
                               const QString &text2, const QString &text3)
{
    QStringList fields = splitMessageFields(resource);
    while (fields.size() < 5)
        fields.append(QString());

    MessageText message;
    const QString picture = fields.at(0).toUpper();
    if (picture.contains(QLatin1Char('?')))
        message.picture = MessagePicture::Question;
    else if (picture.contains(QLatin1Char('X')))
        message.picture = MessagePicture::Error;
    else if (picture.contains(QLatin1Char('I')))
        message.picture = MessagePicture::Information;
    else if (picture.contains(QLatin1Char('*')))
        message.picture = MessagePicture::Delete;
    else
        message.picture = MessagePicture::Exclamation;

    message.helpTopic = fields.at(1).trimmed();

    // Buttons are packed from the right in the order Cancel, OK, No, Yes, so from the
    // left they read Yes, No, OK, Cancel.
    const QString buttons = fields.at(2).toUpper();
    if (buttons.contains(QLatin1Char('Y')))
        message.buttons.append(MessageButton::Yes);
    if (buttons.contains(QLatin1Char('N')))
        message.buttons.append(MessageButton::No);
    if (buttons.contains(QLatin1Char('O')))
        message.buttons.append(MessageButton::Ok);
    if (buttons.contains(QLatin1Char('C')))
        message.buttons.append(MessageButton::Cancel);

    message.title = substitutePlaceholders(fields.at(3), text1, text2, text3);
    message.body = substitutePlaceholders(fields.at(4), text1, text2, text3);
    // A reason left empty must not leave the blank lines that would have set it apart.
    while (message.body.endsWith(QLatin1Char('\n')))
        message.body.chop(1);
    return message;
}

MessageButton MessageText::defaultButton() const
{
    if (hasButton(MessageButton::Yes))
        return MessageButton::Yes;
    if (hasButton(MessageButton::Ok))
        return MessageButton::Ok;
    if (hasButton(MessageButton::No))
        return MessageButton::No;
    return MessageButton::Cancel;
}

int MessageText::enterResult() const
{
    return resultOf(defaultButton());
}

int MessageText::escapeResult() const
{
    if (hasButton(MessageButton::Cancel) && hasButton(MessageButton::No))
        return ResultCancel;
    return ResultNo;
}

int MessageText::resultOf(MessageButton button)
{
    switch (button) {
    case MessageButton::Yes:
        return ResultYes;
    case MessageButton::No:
        return ResultNo;
    case MessageButton::Cancel:
        return ResultCancel;
    case MessageButton::Ok:
        return ResultOk;
    }
    return ResultCancel;
}

QString MessageText::nameOf(MessageButton button)
{
    switch (button) {
    case MessageButton::Yes:
        return QStringLiteral("Yes");
    case MessageButton::No:
        return QStringLiteral("No");
    case MessageButton::Cancel:
        return QStringLiteral("Cancel");
    case MessageButton::Ok:
        return QStringLiteral("OK");
    }
    return {};
}

QString MessageText::nameOf(MessagePicture picture)
{
    switch (picture) {
    case MessagePicture::Question:
        return QStringLiteral("question");
    case MessagePicture::Error:
        return QStringLiteral("error");
    case MessagePicture::Information:
        return QStringLiteral("information");
    case MessagePicture::Delete:
        return QStringLiteral("delete");
    case MessagePicture::Exclamation:
        return QStringLiteral("exclamation");
    }
    return {};
}

} // namespace Orbisong
