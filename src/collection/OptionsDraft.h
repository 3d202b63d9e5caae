#pragma once

#include "collection/Settings.h"

#include <QList>
#include <QString>
#include <QStringList>

namespace Orbisong {

// The values the Options window edits, taken from the settings record, checked, and put back.
// The window moves values between its controls and a draft; the rules live here.
struct OptionsDraft
{
    // Every option bit the window offers a check box for.
    static const QList<int> &editedFlags();
    static constexpr int MaxRecentInserts = 1000;
    static constexpr int BrowserFirst = 2;
    static constexpr int BrowserSecond = 4;
    static QString defaultIntroValue() { return QStringLiteral("0:20"); }

    std::array<std::uint8_t, 16> optionFlags{};
    QString recentInserts;
    QStringList customFields;
    int introSpec = 1;
    QString introValue;
    QString cddbLocalPath;
    QString cddbServerList;
    QString cddbServer;
    QString cddbPort;
    QString cddbProtocol;
    QString cddbProxyServer;
    QString cddbProxyPort;
    int cddbProtocolLevel = 6;
    bool preferMusicBrainz = false;
    QString musicBrainzServer;
    QString smtpServer;
    QString smtpAddress;
    int cddbSubmitMethod = Settings::SubmitByMail;
    QString cddbSubmitUrl;
    int defaultBrowser = BrowserFirst;
    QString firstBrowser;
    QString secondBrowser;
    QString captionFormat;
    QString userFormat;

    bool flag(int bit) const;
    void setFlag(int bit, bool on);

    static OptionsDraft fromSettings(const Settings &settings);
    // Stores every value; false when the intro value was refused and "0:20" stored instead.
    bool applyTo(Settings &settings) const;

    // A decimal fraction above 0 and below 1 (read with "." whatever the locale), a time
    // "m:ss" above zero, or a fraction "n/d" with both parts above 0 and below 1.
    static bool introValueValid(const QString &value);
    // "Max Recent Inserts" as typed, held to 0..MaxRecentInserts; unreadable text keeps `old`.
    static int recentInsertsFrom(const QString &text, int old);
    // "HTTP" for any spelling of it, else "CDDBP"; port "888" always means CDDBP.
    static QString protocolFor(const QString &protocol, const QString &port);
};

} // namespace Orbisong
