#include "script/TQuillanPrivate.h"

#include "script/InteractivePort.h"

#include <cstdio>

namespace Orbisong {

// ---------------------------------------------------------------- errors

void TQuillanPrivate::ReportError(int number, const QString &text)
{
    for (const auto &p : m_plugIns) {
        const QString own = p->errorText(number);
        if (!own.isEmpty())
            ReportText(own);
    }
    ReportText(TQuillan::errorMessage(number, text));
}

void TQuillanPrivate::ReportText(const QString &text)
{
    if (!m_errorFlag) {
        m_errorFlag = true;
        deliver(text);
    }
    throw EAbortQuillan{};
}

void TQuillanPrivate::deliver(const QString &text)
{
    if (m_owner.OnError) {
        m_owner.OnError(m_owner, text);
        return;
    }
    // A host that does not handle errors gets them shown, and the program ends.
    if (m_port)
        m_port->messageBox(text, QStringLiteral("Quillan Error"), 0x30);
    else
        std::fprintf(stderr, "Quillan Error: %s\n", text.toLocal8Bit().constData());
    std::exit(100);
}

int TQuillanPrivate::currentLineNumber() const
{
    if (m_line >= 0 && m_line < int(m_lines.size()))
        return m_lines[size_t(m_line)].number;
    return 0;
}

QString TQuillanPrivate::currentRoutine() const
{
    return m_frame && m_frame->routine ? m_frame->routine->name : QString();
}

} // namespace Orbisong
