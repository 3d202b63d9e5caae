#include "SetupAutomation.h"

#include <QFile>

namespace Orbisong {

SetupAutomation::SetupAutomation()
    : m_log(qEnvironmentVariable("ARCWELL_SETUP_TEST_LOG")),
      m_destinations(qEnvironmentVariable("ARCWELL_SETUP_TEST_DESTINATIONS")
                         .split(QLatin1Char('\n'), Qt::SkipEmptyParts)),
      m_answers(qEnvironmentVariable("ARCWELL_SETUP_TEST_ANSWERS")
                    .split(QLatin1Char(','), Qt::SkipEmptyParts)),
      m_cancelAt(qEnvironmentVariable("ARCWELL_SETUP_TEST_CANCEL_AT"))
{
}

QString SetupAutomation::encode(const QString &text)
{
    QString result = text;
    result.replace(QLatin1Char('\\'), QLatin1String("\\\\"));
    result.replace(QLatin1Char('\n'), QLatin1String("\\n"));
    return result;
}

void SetupAutomation::record(const QString &title, const QString &text) const
{
    QFile file(m_log);
    if (file.open(QIODevice::WriteOnly | QIODevice::Append))
        file.write((encode(title) + QLatin1Char('\t') + encode(text) + QLatin1Char('\n')).toUtf8());
}

QString SetupAutomation::nextDestination()
{
    return m_destinations.isEmpty() ? QStringLiteral("<cancel>") : m_destinations.takeFirst();
}

bool SetupAutomation::nextAnswer()
{
    return m_answers.isEmpty() || m_answers.takeFirst().trimmed() != QLatin1String("no");
}

} // namespace Orbisong
