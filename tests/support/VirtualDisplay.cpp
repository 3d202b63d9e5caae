#include "VirtualDisplay.h"

#include <QDeadlineTimer>

VirtualDisplay::VirtualDisplay(const QString &screen)
{
    m_server.setProgram(QStringLiteral("Xvfb"));
    m_server.setArguments({QStringLiteral("-displayfd"), QStringLiteral("1"),
                           QStringLiteral("-nolisten"), QStringLiteral("tcp"),
                           QStringLiteral("-screen"), QStringLiteral("0"), screen});
    m_server.start();
    // The number is written once the server accepts connections.
    QDeadlineTimer deadline(30000);
    QByteArray output;
    while (!deadline.hasExpired() && !output.contains('\n') &&
           m_server.state() != QProcess::NotRunning) {
        m_server.waitForReadyRead(100);
        output += m_server.readAllStandardOutput();
    }
    bool ok = false;
    const int number = output.trimmed().toInt(&ok);
    if (ok)
        m_name = QStringLiteral(":%1").arg(number);
}

VirtualDisplay::~VirtualDisplay()
{
    // Asked politely first, the server removes its socket and lock file.
    m_server.terminate();
    if (!m_server.waitForFinished(3000)) {
        m_server.kill();
        m_server.waitForFinished(3000);
    }
}
