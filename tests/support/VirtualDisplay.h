#pragma once

#include <QProcess>
#include <QString>

// An X server of the test's own; Xvfb picks a free display number and reports it, so parallel
// tests never compete for one.
class VirtualDisplay
{
public:
    explicit VirtualDisplay(const QString &screen = QStringLiteral("640x480x24"));
    ~VirtualDisplay();

    // Empty when the server did not start.
    QString name() const { return m_name; }

private:
    QProcess m_server;
    QString m_name;
};
