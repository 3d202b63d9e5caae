#pragma once

#include <QString>

namespace Orbisong {

// Where the program's questions and errors go: a window in the program, a scripted
// responder in tests, a silent answerer in orbisong-cli. Each part that asks is handed its
// port by whoever creates it.
class QuestionPort
{
public:
    virtual ~QuestionPort() = default;
    // Shows the string-table message `id` with the texts for "%1".."%3" and returns the
    // dialog result of the button pressed.
    virtual int ask(int id, const QString &text1, const QString &text2, const QString &text3) = 0;
};

// Answers every message with its default button and logs it: the port of programs and tests
// that show no windows.
class DefaultAnswerPort : public QuestionPort
{
public:
    int ask(int id, const QString &text1, const QString &text2, const QString &text3) override;
};

// Asks `port`; a part that was handed none answers like DefaultAnswerPort. Main thread only;
// worker threads go through the thread window.
int askOrDefault(QuestionPort *port, int id, const QString &text1 = {}, const QString &text2 = {},
                 const QString &text3 = {});

} // namespace Orbisong
