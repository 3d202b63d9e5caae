#pragma once

#include <QList>
#include <QString>

namespace Orbisong {

// Standard dialog results returned by the message box.
enum DialogResult { ResultOk = 1, ResultCancel = 2, ResultYes = 6, ResultNo = 7 };

enum class MessagePicture { Question, Error, Information, Delete, Exclamation };

enum class MessageButton { Yes, No, Cancel, Ok };

// A string-table message split into what the message box shows.
// The text has five "~"-separated fields: picture, help topic, buttons, title and body.
struct MessageText
{
    MessagePicture picture = MessagePicture::Exclamation;
    QString helpTopic;
    QList<MessageButton> buttons; // as shown, from the left
    QString title;
    QString body;

    static MessageText parse(const QString &resource, const QString &text1 = {},
                             const QString &text2 = {}, const QString &text3 = {});

    bool hasButton(MessageButton button) const { return buttons.contains(button); }
    MessageButton defaultButton() const;
    // Enter presses the default button; with no buttons at all it answers Cancel.
    int enterResult() const;
    // Escape answers No, except that it answers Cancel when Cancel is shown next to No.
    int escapeResult() const;

    static int resultOf(MessageButton button);
    static QString nameOf(MessageButton button);
    static QString nameOf(MessagePicture picture);
};

// Splits at "~" outside double-quoted stretches; quote characters toggle and are dropped.
QStringList splitMessageFields(const QString &resource);

// Replaces "%1", "%2" and "%3" in one pass, so inserted text is never searched again.
QString substitutePlaceholders(const QString &text, const QString &text1, const QString &text2,
                               const QString &text3);

} // namespace Orbisong
