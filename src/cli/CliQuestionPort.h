#pragma once

#include "base/QuestionPort.h"

#include <QTextStream>

namespace Orbisong::Cli {

// The questions and errors of the parts orbisong-cli runs. A message that offers a choice is
// a question, and a command line has no one to ask: it takes its default button without a
// word, so that output stays clean for scripts. Any other message is an error or a notice the
// user must see: it goes to standard error as one line.
class CliQuestionPort : public QuestionPort
{
public:
    explicit CliQuestionPort(QTextStream &err);

    int ask(int id, const QString &text1, const QString &text2, const QString &text3) override;

    // A message's title and body as one line, its advice about windows and menus turned into
    // the command line's own.
    static QString commandLineText(const QString &title, const QString &body);

private:
    QTextStream &m_err;
};

} // namespace Orbisong::Cli
