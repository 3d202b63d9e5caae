#include "collection/OptionsDraft.h"

#include "base/HostPort.h"

#include <QRegularExpression>

namespace Orbisong {

namespace {

bool positiveInt(const QString &text, int *value)
{
    bool ok = false;
    *value = text.trimmed().toInt(&ok);
    return ok && *value > 0;
}

} // namespace

const QList<int> &OptionsDraft::editedFlags()
{
    static const QList<int> flags = {_GLOB_OPTION_COLLECTIONALWAYSOPEN,
                                     _GLOB_OPTION_NOSINGLETRACK,
                                     _GLOB_OPTION_USEALBWIZ,
                                     _GLOB_OPTION_TIMERWARNING,
                                     _GLOB_OPTION_CHANGERCOMPAT,
                                     _GLOB_OPTION_SAVEPOSITION,
                                     _GLOB_OPTION_ALWAYSMINIMIZE,
                                     _GLOB_OPTION_SHOWTOTD,
                                     _GLOB_OPTION_STICKLEFT,
                                     _GLOB_OPTION_STICKTOP,
                                     _GLOB_OPTION_STICKRIGHT,
                                     _GLOB_OPTION_STICKBOTTOM,
                                     _GLOB_OPTION_STAYONTOP,
                                     _GLOB_OPTION_SCROLLPLAYLIST,
                                     _GLOB_OPTION_SHOWHINTS,
                                     _GLOB_OPTION_SHOWALBUMTITLES,
                                     _GLOB_OPTION_STATMERGETRACKS,
                                     _GLOB_OPTION_TRAYSTOP,
                                     _GLOB_OPTION_TRAYPLAY,
                                     _GLOB_OPTION_TRAYPREV,
                                     _GLOB_OPTION_TRAYNEXT,
                                     _GLOB_OPTION_NOALBUMBLANKTRACKS,
                                     _GLOB_OPTION_STOPONCLOSE,
                                     _GLOB_OPTION_AUTOSHUFFLE,
                                     _GLOB_OPTION_RANDOMDRIVE,
                                     _GLOB_OPTION_PLAYONINSERT,
                                     _GLOB_OPTION_AUTORCDDB,
                                     _GLOB_OPTION_SHOWCDDBMOTD,
                                     _GLOB_OPTION_USEPROXY,
                                     _GLOB_OPTION_SUBMITCOMMENTS,
                                     _GLOB_OPTION_SUBMITWEBLINKS,
                                     _GLOB_OPTION_USEFORMATSTRINGS};
    return flags;
}

bool OptionsDraft::flag(int bit) const
{
    return optionFlags[bit / 8] & (1u << (bit % 8));
}

void OptionsDraft::setFlag(int bit, bool on)
{
    if (on)
        optionFlags[bit / 8] |= std::uint8_t(1u << (bit % 8));
    else
        optionFlags[bit / 8] &= std::uint8_t(~(1u << (bit % 8)));
}

OptionsDraft OptionsDraft::fromSettings(const Settings &s)
{
    OptionsDraft d;
    d.optionFlags = s.optionFlags;
    d.recentInserts = QString::number(s.maxRecentInserts);
    d.customFields = s.customFields;
    d.introSpec = std::clamp(s.introSpec, 0, 2);
    d.introValue = s.introValue;
    d.cddbLocalPath = s.cddbLocalPath;
    d.cddbServerList = s.cddbServerList;
    d.cddbServer = s.cddbServer;
    d.cddbPort = s.cddbPort;
    d.cddbProtocol = protocolFor(s.cddbProtocol, s.cddbPort);
    d.cddbProxyServer = s.cddbProxyServer;
    d.cddbProxyPort = s.cddbProxyPort;
    d.cddbProtocolLevel = s.cddbProtocolLevel;
    d.preferMusicBrainz = s.preferMusicBrainz != 0;
    d.musicBrainzServer = s.musicBrainzServer;
    d.smtpServer = s.smtpServer;
    d.smtpAddress = s.smtpAddress;
    d.cddbSubmitMethod = s.cddbSubmitMethod == Settings::SubmitByHttp ? Settings::SubmitByHttp
                                                                      : Settings::SubmitByMail;
    d.cddbSubmitUrl = s.cddbSubmitUrl;
    d.defaultBrowser = s.defaultBrowser == BrowserSecond ? BrowserSecond : BrowserFirst;
    d.firstBrowser = s.firstBrowser;
    d.secondBrowser = s.secondBrowser;
    d.captionFormat = s.captionFormat;
    d.userFormat = s.userFormat;
    return d;
}

bool OptionsDraft::applyTo(Settings &s) const
{
    // Only the bits the window shows are taken over; the others (window state, defaults
    // mark) belong to other parts.
    for (int bit : editedFlags())
        s.SetOptionFlag(bit, flag(bit));
    s.maxRecentInserts = recentInsertsFrom(recentInserts, s.maxRecentInserts);
    s.customFields = customFields;
    s.introSpec = std::clamp(introSpec, 0, 2);
    s.cddbLocalPath = cddbLocalPath;
    s.cddbServerList = cddbServerList;
    const HostPort server = HostPort::split(cddbServer);
    s.cddbServer = server.host;
    s.cddbPort = server.port.isEmpty() ? cddbPort.trimmed() : server.port;
    s.cddbProtocol = protocolFor(cddbProtocol, QString());
    s.cddbProxyServer = cddbProxyServer;
    s.cddbProxyPort = cddbProxyPort;
    s.cddbProtocolLevel = std::clamp(cddbProtocolLevel, 1, 6);
    s.preferMusicBrainz = preferMusicBrainz ? 1 : 0;
    s.musicBrainzServer = musicBrainzServer.trimmed();
    s.smtpServer = smtpServer.trimmed();
    s.smtpAddress = smtpAddress.trimmed();
    s.cddbSubmitMethod = cddbSubmitMethod;
    s.cddbSubmitUrl = cddbSubmitUrl.trimmed();
    s.defaultBrowser = defaultBrowser == BrowserSecond ? BrowserSecond : BrowserFirst;
    s.firstBrowser = firstBrowser.trimmed();
    s.secondBrowser = secondBrowser.trimmed();
    s.captionFormat = captionFormat;
    s.userFormat = userFormat;
    const QString intro = introValue.trimmed();
    const bool introValid = introValueValid(intro);
    s.introValue = introValid ? intro : defaultIntroValue();
    return introValid;
}

bool OptionsDraft::introValueValid(const QString &value)
{
    const QString v = value.trimmed();
    if (const qsizetype colon = v.indexOf(QLatin1Char(':')); colon >= 0) {
        bool minutesOk = false;
        bool secondsOk = false;
        const int minutes = v.left(colon).trimmed().toInt(&minutesOk);
        const int seconds = v.mid(colon + 1).trimmed().toInt(&secondsOk);
        return minutesOk && secondsOk && minutes >= 0 && seconds >= 0 && minutes + seconds > 0;
    }
    if (const qsizetype slash = v.indexOf(QLatin1Char('/')); slash >= 0) {
        int numerator = 0;
        int denominator = 0;
        return positiveInt(v.left(slash), &numerator) &&
               positiveInt(v.mid(slash + 1), &denominator) && numerator < denominator;
    }
    // Digits with one point only: no sign, exponent or group separator, whatever the locale.
    static const QRegularExpression decimal(QStringLiteral("^[0-9]*\\.?[0-9]+$|^[0-9]+\\.$"));
    if (!decimal.match(v).hasMatch())
        return false;
    const double fraction = v.toDouble();
    return fraction > 0 && fraction < 1;
}

int OptionsDraft::recentInsertsFrom(const QString &text, int old)
{
    bool ok = false;
    const qlonglong value = text.trimmed().toLongLong(&ok);
    if (!ok)
        return std::clamp(old, 0, MaxRecentInserts);
    return int(std::clamp<qlonglong>(value, 0, MaxRecentInserts));
}

QString OptionsDraft::protocolFor(const QString &protocol, const QString &port)
{
    if (port.trimmed() == QLatin1String("888"))
        return QStringLiteral("CDDBP");
    return protocol.trimmed().compare(QLatin1String("HTTP"), Qt::CaseInsensitive) == 0
               ? QStringLiteral("HTTP")
               : QStringLiteral("CDDBP");
}

} // namespace Orbisong
