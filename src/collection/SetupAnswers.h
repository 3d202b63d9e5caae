#pragma once

#include <QList>
#include <QString>

namespace Orbisong {

struct Settings;

// The answers of the first-run setup wizard, read from the settings and stored back into them.
struct SetupAnswers
{
    // One CDDBP server of the "Server List" setting.
    struct Server
    {
        QString host;
        QString port;
        QString protocol;
        QString location;
    };

    bool floating = false;
    bool stickLeft = false;
    bool stickTop = false;
    bool stickRight = false;
    bool stickBottom = false;
    bool trayNext = false;
    bool trayStop = false;
    bool trayPlay = false;
    bool trayPrevious = false;
    int timeFormat = 0;
    // "No" skips every pane below: their settings keep their values.
    bool internet = true;
    bool explorer = false; // else the other browser
    QString smtpServer;
    QString smtpAddress;
    bool useProxy = false;
    QString proxyHost;
    QString proxyPort = QStringLiteral("1080");
    int server = -1; // into servers(); -1 chooses none
    bool autoQuery = false;

    // The offered servers: the "Server List" entries ("|" between them, "`" between host,
    // port, protocol and location) whose protocol contains "CDDBP".
    static QList<Server> servers(const QString &serverList);
    static SetupAnswers fromSettings(const Settings &settings);
    void store(Settings &settings) const;

    // The line that describes where the window sticks.
    static QString bordersText(bool left, bool top, bool right, bool bottom);
};

} // namespace Orbisong
