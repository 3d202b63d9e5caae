#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <array>
#include <cstdint>
#include <functional>

namespace Orbisong {

class SettingsStore;

// Numbered on/off options kept in the "Flags" block.
enum OptionFlag {
    _GLOB_OPTION_ALWAYSMINIMIZE = 0,
    _GLOB_OPTION_NOALBUMBLANKTRACKS = 1,
    _GLOB_OPTION_AUTORCDDB = 2,
    _GLOB_OPTION_SUBMITCOMMENTS = 6,
    _GLOB_OPTION_SUBMITWEBLINKS = 7,
    _GLOB_OPTION_COLLECTIONALWAYSOPEN = 9,
    _GLOB_OPTION_DEFAULTS_MARK = 10,
    _GLOB_OPTION_STAYONTOP = 11,
    _GLOB_OPTION_WASMINIMIZED = 12,
    _GLOB_OPTION_STICKLEFT = 13,
    _GLOB_OPTION_STICKRIGHT = 14,
    _GLOB_OPTION_STICKTOP = 15,
    _GLOB_OPTION_STICKBOTTOM = 16,
    _GLOB_OPTION_SCROLLPLAYLIST = 17,
    _GLOB_OPTION_SAVEPOSITION = 18,
    _GLOB_OPTION_SHOWHINTS = 19,
    _GLOB_OPTION_SHOWTOTD = 20,
    _GLOB_OPTION_RANDOMORDER = 21,
    _GLOB_OPTION_STOPONCLOSE = 23,
    _GLOB_OPTION_USEFORMATSTRINGS = 24,
    _GLOB_OPTION_NOSINGLETRACK = 27,
    _GLOB_OPTION_AUTOSHUFFLE = 28,
    _GLOB_OPTION_RANDOMDRIVE = 29,
    _GLOB_OPTION_USEALBWIZ = 30,
    _GLOB_OPTION_SHOWALBUMTITLES = 31,
    _GLOB_OPTION_STATMERGETRACKS = 32,
    _GLOB_OPTION_TIMERWARNING = 33,
    _GLOB_OPTION_CHANGERCOMPAT = 34,
    _GLOB_OPTION_SHOWCDDBMOTD = 35,
    _GLOB_OPTION_TRAYSTOP = 36,
    _GLOB_OPTION_TRAYPLAY = 37,
    _GLOB_OPTION_TRAYPREV = 38,
    _GLOB_OPTION_TRAYNEXT = 39,
    _GLOB_OPTION_USEPROXY = 40,
    _GLOB_OPTION_PLAYONINSERT = 42,
};

// The player window's stored placement ("Windows" "Main").
struct WindowPlacement
{
    static constexpr int NotSet = -1010;
    int left = NotSet; // NotSet in left means "centre on the screen"
    int top = NotSet;
    int height = NotSet;

    QByteArray pack() const;
    static WindowPlacement unpack(const QByteArray &bytes);
};

// The collection window's stored state ("Windows" "Collection Properties").
struct CollectionProperties
{
    std::array<int, 5> columnWidths{-1, -1, -1, -1, -1};
    int grouping = 0;
    int splitterPosition = -1;
    QByteArray sortOrder = "ATCYO";
    int listView = 0;
    int reserved = -1;
    int searchType = 0;

    QByteArray pack() const;
    static CollectionProperties unpack(const QByteArray &bytes);
};

// Every user setting, read once at start and written once at exit.
struct Settings
{
    enum SubmitMethod { SubmitByMail = 0, SubmitByHttp = 1 };

    // "Options"
    QString collectionPath;
    int timeFormat = 0;
    int playlistDoubleClick = 0;
    int maxRecentInserts = 10;
    int defaultBrowser = 2;
    // The two browser programs a link may ask for (empty: found on the search path).
    QString firstBrowser;
    QString secondBrowser;
    QString volumeControl;
    int peakCount = 0;
    int introSpec = 1;
    QString introValue = QStringLiteral("0:20");
    QString userFormat = QStringLiteral("[A%t]");
    QString captionFormat = QStringLiteral("%P %V");
    std::array<std::uint32_t, 2> colors{0xFFFFFFFFu, 0xFFFFFFFFu};
    QString driveLetter;
    // "Profiles"
    QString purchaseLinks;
    QString informationLinks;
    QString performanceLinks;
    // "Events" (decoded)
    QString onTimerPlay;
    QString onTimerStop;
    // Seconds an event script may run before it is stopped.
    int scriptTimeLimit = 10;
    QStringList customFields;
    QStringList exportProfiles;
    // "Volume"
    QString volumePath;
    QString volumeWindowClass;
    // "SMTP"
    QString smtpServer;
    QString smtpAddress;
    // "CDDB"
    QString cddbMessageDate;
    QString cddbServerList;
    QString cddbServer;
    QString cddbPort;
    QString cddbProxyServer;
    QString cddbProxyPort;
    QString cddbProtocol;
    QString cddbListServer;
    QString cddbListPort;
    QString cddbLocalPath;
    // Protocol level of lookups; level 6 exchanges UTF-8 entries.
    int cddbProtocolLevel = 6;
    // How new entries are submitted: SubmitByMail or SubmitByHttp to cddbSubmitUrl.
    int cddbSubmitMethod = SubmitByMail;
    QString cddbSubmitUrl;
    // "MusicBrainz": the web service and the cover picture service, as base URLs.
    QString musicBrainzServer = QStringLiteral("https://musicbrainz.org");
    QString coverArtServer = QStringLiteral("https://coverartarchive.org");
    // Non-zero: ask MusicBrainz before the CDDB stages rather than after them.
    int preferMusicBrainz = 0;
    // Blocks
    std::array<std::uint8_t, 16> optionFlags{};
    WindowPlacement mainWindow;
    CollectionProperties collectionProperties;
    // Program starts so far, this one included.
    int startCount = 0;
    // "Recent Images": disc image files opened from the File menu, the latest first.
    QStringList recentImages;

    bool GetOptionFlag(int bit) const;
    // Puts `path` first in the recent images, once, keeping at most MaxRecentImages.
    void rememberImage(const QString &path);
    static constexpr int MaxRecentImages = 8;
    // Returns the previous state.
    bool SetOptionFlag(int bit, bool on);

    // The defaults for a user whose data lives in `dataFolder`, with `firstDrive` the first
    // CD drive letter (empty when there is none).
    static Settings defaults(const QString &dataFolder, const QString &login,
                             const QString &firstDrive);
};

// One stored string or integer value of the record, read and written as text.
struct SettingField
{
    QString section;
    QString name;
    std::function<QString(const Settings &)> get;
    std::function<void(Settings &, const QString &)> set; // unreadable text keeps the value
};

const QList<SettingField> &settingFields();
const SettingField *findSettingField(const QString &section, const QString &name);

// Fills `settings` from the store over the defaults already in it.
void LoadSettings(SettingsStore &store, Settings &settings);
// Counts this start and records the running program's path.
void RecordProgramStart(SettingsStore &store, Settings &settings, const QString &programPath);
// Writes the record back; values the record does not know disappear from its own keys.
void SaveSettings(SettingsStore &store, const Settings &settings);

} // namespace Orbisong
