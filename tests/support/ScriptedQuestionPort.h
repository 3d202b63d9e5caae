#pragma once

#include "base/QuestionPort.h"

#include <QList>
#include <QStringList>

// Answers questions from a script of results and records what was asked; tests hand it to
// the parts that ask.
class ScriptedQuestionPort : public Orbisong::QuestionPort
{
public:
    struct Asked
    {
        int id;
        QStringList texts;
    };

    // Answers to give in order; when they run out, the message's default button answers.
    void answer(int result) { m_answers.append(result); }
    const QList<Asked> &asked() const { return m_asked; }

    int ask(int id, const QString &text1, const QString &text2, const QString &text3) override;

private:
    QList<int> m_answers;
    QList<Asked> m_asked;
};
