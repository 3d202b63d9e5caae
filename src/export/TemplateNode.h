#pragma once

#include <QList>
#include <QString>

namespace Orbisong {

// One piece of a parsed template: plain text, a variable tag, or a command tag with the block
// it runs.
struct TemplateNode
{
    enum Kind { Text, Variable, Command };
    // How a variable's value is written: HTML-escaped unless the tag asks otherwise, with
    // "!" after the name as an HTTP form value, with "~" unchanged.
    enum Encoding { Html, Form, Raw };

    Kind kind = Text;
    QString text;    // the text; the upper-cased variable name; the command's argument
    QString command; // upper-cased, with its "&"
    Encoding encoding = Html;
    QList<TemplateNode> children;
};

// Parses the template text after its first line. "[[" is a "[", "[&END" closes the current
// block up to the next "]", "[&WORD ARG]" opens a command block, "[" and a marker character
// before a name make a variable tag.
QList<TemplateNode> parseTemplate(const QString &text);

} // namespace Orbisong
