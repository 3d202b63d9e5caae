#include "collection/Settings.h"

#include "base/AppPaths.h"
#include "collection/MultilineCodec.h"
#include "collection/SettingsStore.h"

#include <QFileInfo>
#include <QtEndian>

namespace Orbisong {

namespace {

const QString Options = QStringLiteral("Options");
const QString Profiles = QStringLiteral("Profiles");
const QString Events = QStringLiteral("Events");
const QString CustomFields = QStringLiteral("Custom Fields");
const QString ExportProfiles = QStringLiteral("Export Profiles");
const QString RecentImages = QStringLiteral("Recent Images");
const QString Volume = QStringLiteral("Volume");
const QString Smtp = QStringLiteral("SMTP");
const QString Cddb = QStringLiteral("CDDB");
const QString MusicBrainz = QStringLiteral("MusicBrainz");
const QString Location = QStringLiteral("Location");
const QString Windows = QStringLiteral("Windows");

const QString DefaultCddbHost = QStringLiteral("gnudb.gnudb.org");
const QString DefaultCddbPort = QStringLiteral("8880");

// Web link menus: entries separated by "|", title and address separated by "`".
const QString DefaultPurchaseLinks =
    QStringLiteral("Search Discogs Marketplace`https://www.discogs.com/search/?q=%A&type=all");
const QString DefaultInformationLinks = QStringLiteral(
    "MusicBrainz`https://musicbrainz.org/search?query=%A&type=artist|"
    "Discogs`https://www.discogs.com/search/?q=%A&type=artist|"
    "Wikipedia`https://en.wikipedia.org/w/index.php?search=%A|"
    "AllMusic`https://www.allmusic.com/search/artists/%A|"
    "Last.fm`https://www.last.fm/search/artists?q=%A|"
    "Rate Your Music`https://rateyourmusic.com/search?searchterm=%A&searchtype=a|"
    "-`|"
    "Bandcamp`https://bandcamp.com/search?q=%A|"
    "Genius Lyrics`https://genius.com/search?q=%A|"
    "Setlist.fm`https://www.setlist.fm/search?query=%A|"
    "Wikidata`https://www.wikidata.org/w/index.php?search=%A");
const QString DefaultPerformanceLinks = QStringLiteral(
    "Songkick`https://www.songkick.com/search?query=%A|"
    "Bandsintown`https://www.bandsintown.com/search?query=%A");
const QString DefaultServerList = QStringLiteral(
    "gnudb.gnudb.org`8880`CDDBP`Public CDDB service|"
    "gnudb.gnudb.org/~cddb/cddb.cgi`80`HTTP`Public CDDB service over HTTP");

void putInt32(QByteArray &bytes, int offset, int value)
{
    qToLittleEndian<qint32>(value, bytes.data() + offset);
}

int getInt32(const QByteArray &bytes, int offset)
{
    return qFromLittleEndian<qint32>(bytes.constData() + offset);
}

QString colorText(std::uint32_t color)
{
    return QStringLiteral("%1").arg(color, 8, 16, QLatin1Char('0')).toUpper();
}

QStringList readNumberedList(const SettingsStore &store, const QString &key)
{
    QStringList items;
    for (int n = 1;; ++n) {
        const QString item = store.readString(key, QString::number(n), QString());
        if (item.isEmpty())
            break;
        items.append(item);
    }
    return items;
}

void writeNumberedList(SettingsStore &store, const QString &key, const QStringList &items)
{
    for (int n = 0; n < items.size(); ++n)
        store.writeString(key, QString::number(n + 1), items.at(n));
}

} // namespace

QByteArray WindowPlacement::pack() const
{
    // Left and top are two independent 16-bit values, so a window left of the screen keeps
    // its top. "Not set" is stored as the whole 32-bit word.
    QByteArray bytes(8, '\0');
    if (left == NotSet && top == NotSet) {
        putInt32(bytes, 0, NotSet);
    } else {
        qToLittleEndian<qint16>(static_cast<qint16>(left), bytes.data());
        qToLittleEndian<qint16>(static_cast<qint16>(top), bytes.data() + 2);
    }
    if (height == NotSet) {
        putInt32(bytes, 4, NotSet);
    } else {
        const quint16 h = static_cast<quint16>(height);
        putInt32(bytes, 4, static_cast<int>(h | (quint32(h) << 16)));
    }
    return bytes;
}

WindowPlacement WindowPlacement::unpack(const QByteArray &bytes)
{
    WindowPlacement placement;
    if (bytes.size() != 8)
        return placement;
    if (getInt32(bytes, 0) != NotSet) {
        placement.left = qFromLittleEndian<qint16>(bytes.constData());
        placement.top = qFromLittleEndian<qint16>(bytes.constData() + 2);
    }
    if (getInt32(bytes, 4) != NotSet)
        placement.height = qFromLittleEndian<quint16>(bytes.constData() + 4);
    return placement;
}

QByteArray CollectionProperties::pack() const
{
    QByteArray bytes(48, '\0');
    for (int i = 0; i < 5; ++i)
        putInt32(bytes, i * 4, columnWidths[i]);
    putInt32(bytes, 20, grouping);
    putInt32(bytes, 24, splitterPosition);
    const QByteArray order = sortOrder.left(7);
    bytes[28] = static_cast<char>(order.size());
    for (int i = 0; i < order.size(); ++i)
        bytes[29 + i] = order.at(i);
    putInt32(bytes, 36, listView);
    putInt32(bytes, 40, reserved);
    putInt32(bytes, 44, searchType);
    return bytes;
}

CollectionProperties CollectionProperties::unpack(const QByteArray &bytes)
{
    CollectionProperties properties;
    if (bytes.size() != 48)
        return properties;
    for (int i = 0; i < 5; ++i)
        properties.columnWidths[i] = getInt32(bytes, i * 4);
    properties.grouping = getInt32(bytes, 20);
    properties.splitterPosition = getInt32(bytes, 24);
    const int length = qBound(0, int(static_cast<unsigned char>(bytes.at(28))), 7);
    properties.sortOrder = bytes.mid(29, length);
    properties.listView = getInt32(bytes, 36);
    properties.reserved = getInt32(bytes, 40);
    properties.searchType = getInt32(bytes, 44);
    return properties;
}

void Settings::rememberImage(const QString &path)
{
    // Two spellings of one file are one entry, so the menu never offers it twice.
    const QString absolute = QFileInfo(path).absoluteFilePath();
    recentImages.removeAll(absolute);
    recentImages.prepend(absolute);
    while (recentImages.size() > MaxRecentImages)
        recentImages.removeLast();
}

bool Settings::GetOptionFlag(int bit) const
{
    if (bit < 0 || bit >= 128)
        return false;
    return optionFlags[bit / 8] & (1u << (bit % 8));
}

bool Settings::SetOptionFlag(int bit, bool on)
{
    const bool old = GetOptionFlag(bit);
    if (bit < 0 || bit >= 128)
        return old;
    if (on)
        optionFlags[bit / 8] |= static_cast<std::uint8_t>(1u << (bit % 8));
    else
        optionFlags[bit / 8] &= static_cast<std::uint8_t>(~(1u << (bit % 8)));
    return old;
}

Settings Settings::defaults(const QString &dataFolder, const QString &login,
                            const QString &firstDrive)
{
    Settings s;
    s.collectionPath = dataFolder + QLatin1Char('/') + login + QStringLiteral(".OBC");
    s.driveLetter = firstDrive;
    s.purchaseLinks = DefaultPurchaseLinks;
    s.informationLinks = DefaultInformationLinks;
    s.performanceLinks = DefaultPerformanceLinks;
    s.volumePath = QStringLiteral("pavucontrol");
    s.volumeWindowClass = QStringLiteral("Volume Control");
    s.cddbServerList = DefaultServerList;
    s.cddbServer = DefaultCddbHost;
    s.cddbPort = DefaultCddbPort;
    s.cddbProxyPort = QStringLiteral("1080");
    s.cddbProtocol = QStringLiteral("CDDBP");
    s.cddbListServer = DefaultCddbHost;
    s.cddbListPort = DefaultCddbPort;
    s.cddbLocalPath = dataFolder + QStringLiteral("/cddb");
    s.cddbSubmitUrl = QStringLiteral("http://") + DefaultCddbHost + QStringLiteral("/~cddb/submit.cgi");
    for (int bit : {1, 10, 18, 19, 20, 30, 33, 34, 35})
        s.SetOptionFlag(bit, true);
    return s;
}

const QList<SettingField> &settingFields()
{
    auto text = [](QString Settings::*member) {
        return SettingField{
            {}, {}, [member](const Settings &s) { return s.*member; },
            [member](Settings &s, const QString &value) { s.*member = value; }};
    };
    auto integer = [](int Settings::*member) {
        return SettingField{{}, {}, [member](const Settings &s) { return QString::number(s.*member); },
                            [member](Settings &s, const QString &value) {
                                int number = 0;
                                if (parseStoredInteger(value, &number))
                                    s.*member = number;
                            }};
    };
    auto color = [](int index) {
        return SettingField{{}, {}, [index](const Settings &s) { return colorText(s.colors[index]); },
                            [index](Settings &s, const QString &value) {
                                bool ok = false;
                                const uint number = value.trimmed().toUInt(&ok, 16);
                                s.colors[index] = ok ? number : 0xFFFFFFFFu;
                            }};
    };
    auto script = [](QString Settings::*member) {
        return SettingField{{}, {}, [member](const Settings &s) { return EncodeMultiline(s.*member); },
                            [member](Settings &s, const QString &value) {
                                s.*member = DecodeMultiline(value);
                            }};
    };
    auto named = [](const QString &section, const QString &name, SettingField field) {
        field.section = section;
        field.name = name;
        return field;
    };

    static const QList<SettingField> fields = {
        named(Options, QStringLiteral("Collection Path"), text(&Settings::collectionPath)),
        named(Options, QStringLiteral("Time Format"), integer(&Settings::timeFormat)),
        named(Options, QStringLiteral("Playlist Double-Click"), integer(&Settings::playlistDoubleClick)),
        named(Options, QStringLiteral("Max Recent Inserts"), integer(&Settings::maxRecentInserts)),
        named(Options, QStringLiteral("Default Browser"), integer(&Settings::defaultBrowser)),
        named(Options, QStringLiteral("First Browser"), text(&Settings::firstBrowser)),
        named(Options, QStringLiteral("Second Browser"), text(&Settings::secondBrowser)),
        named(Options, QStringLiteral("Volume Control"), text(&Settings::volumeControl)),
        named(Options, QStringLiteral("Peak Count"), integer(&Settings::peakCount)),
        named(Options, QStringLiteral("Intro Spec"), integer(&Settings::introSpec)),
        named(Options, QStringLiteral("Intro Value"), text(&Settings::introValue)),
        named(Options, QStringLiteral("User Format"), text(&Settings::userFormat)),
        named(Options, QStringLiteral("Caption Format"), text(&Settings::captionFormat)),
        named(Options, QStringLiteral("Color 1"), color(0)),
        named(Options, QStringLiteral("Color 2"), color(1)),
        // Read even in no-drive runs, so such a run does not forget the user's drive.
        named(Options, QStringLiteral("Drive Letter"), text(&Settings::driveLetter)),
        named(Profiles, QStringLiteral("Purchase"), text(&Settings::purchaseLinks)),
        named(Profiles, QStringLiteral("Information"), text(&Settings::informationLinks)),
        named(Profiles, QStringLiteral("Performance"), text(&Settings::performanceLinks)),
        named(Events, QStringLiteral("On_TimerPlay"), script(&Settings::onTimerPlay)),
        named(Events, QStringLiteral("On_TimerStop"), script(&Settings::onTimerStop)),
        named(Events, QStringLiteral("Time Limit"), integer(&Settings::scriptTimeLimit)),
        named(Volume, QStringLiteral("Path"), text(&Settings::volumePath)),
        named(Volume, QStringLiteral("Window Class"), text(&Settings::volumeWindowClass)),
        named(Smtp, QStringLiteral("Server"), text(&Settings::smtpServer)),
        named(Smtp, QStringLiteral("Address"), text(&Settings::smtpAddress)),
        named(Cddb, QStringLiteral("Message Date"), text(&Settings::cddbMessageDate)),
        named(Cddb, QStringLiteral("Server List"), text(&Settings::cddbServerList)),
        named(Cddb, QStringLiteral("Server"), text(&Settings::cddbServer)),
        named(Cddb, QStringLiteral("Port"), text(&Settings::cddbPort)),
        named(Cddb, QStringLiteral("Proxy Server"), text(&Settings::cddbProxyServer)),
        named(Cddb, QStringLiteral("Proxy Port"), text(&Settings::cddbProxyPort)),
        named(Cddb, QStringLiteral("Protocol"), text(&Settings::cddbProtocol)),
        named(Cddb, QStringLiteral("List Server"), text(&Settings::cddbListServer)),
        named(Cddb, QStringLiteral("List Port"), text(&Settings::cddbListPort)),
        named(Cddb, QStringLiteral("Local Path"), text(&Settings::cddbLocalPath)),
        named(Cddb, QStringLiteral("Protocol Level"), integer(&Settings::cddbProtocolLevel)),
        named(Cddb, QStringLiteral("Submit Method"), integer(&Settings::cddbSubmitMethod)),
        named(Cddb, QStringLiteral("Submit URL"), text(&Settings::cddbSubmitUrl)),
        named(MusicBrainz, QStringLiteral("Server"), text(&Settings::musicBrainzServer)),
        named(MusicBrainz, QStringLiteral("Cover Server"), text(&Settings::coverArtServer)),
        named(MusicBrainz, QStringLiteral("Prefer"), integer(&Settings::preferMusicBrainz)),
    };
    return fields;
}

const SettingField *findSettingField(const QString &section, const QString &name)
{
    for (const SettingField &field : settingFields()) {
        if (field.section.compare(section, Qt::CaseInsensitive) == 0
            && field.name.compare(name, Qt::CaseInsensitive) == 0)
            return &field;
    }
    return nullptr;
}

void LoadSettings(SettingsStore &store, Settings &s)
{
    const QByteArray flags = store.readBinary(Options, QStringLiteral("Flags"));
    if (flags.size() == 16)
        std::copy(flags.begin(), flags.end(), s.optionFlags.begin());
    const QByteArray main = store.readBinary(Windows, QStringLiteral("Main"));
    if (main.size() == 8)
        s.mainWindow = WindowPlacement::unpack(main);
    const QByteArray properties = store.readBinary(Windows, QStringLiteral("Collection Properties"));
    if (properties.size() == 48)
        s.collectionProperties = CollectionProperties::unpack(properties);

    for (const SettingField &field : settingFields()) {
        if (store.valueExists(field.section, field.name))
            field.set(s, store.readString(field.section, field.name, QString()));
    }
    s.customFields = readNumberedList(store, CustomFields);
    s.exportProfiles = readNumberedList(store, ExportProfiles);
    s.recentImages = readNumberedList(store, RecentImages);

    const QString defaultLocalPath = AppPaths::dataFolder() + QStringLiteral("/cddb");
    while (s.cddbLocalPath.size() > 1
           && (s.cddbLocalPath.endsWith(QLatin1Char('/'))
               || s.cddbLocalPath.endsWith(QLatin1Char('\\'))))
        s.cddbLocalPath.chop(1);
    if (s.cddbLocalPath.size() < 3)
        s.cddbLocalPath = defaultLocalPath;

    s.startCount = store.readInteger(Location, QStringLiteral("Start Count"), 0);
}

void RecordProgramStart(SettingsStore &store, Settings &s, const QString &programPath)
{
    ++s.startCount;
    store.writeInteger(Location, QStringLiteral("Start Count"), s.startCount);
    store.writeString(Location, QStringLiteral("Program"), programPath);
}

void SaveSettings(SettingsStore &store, const Settings &s)
{
    for (const QString &key :
         {Cddb, CustomFields, Events, Options, RecentImages, Smtp, Volume, Windows})
        store.deleteKey(key);

    for (const SettingField &field : settingFields())
        store.writeString(field.section, field.name, field.get(s));
    writeNumberedList(store, CustomFields, s.customFields);
    writeNumberedList(store, ExportProfiles, s.exportProfiles);
    writeNumberedList(store, RecentImages, s.recentImages);

    store.writeBinary(Windows, QStringLiteral("Collection Properties"), s.collectionProperties.pack());
    store.writeBinary(Windows, QStringLiteral("Main"), s.mainWindow.pack());
    store.writeBinary(Options, QStringLiteral("Flags"),
                      QByteArray(reinterpret_cast<const char *>(s.optionFlags.data()), 16));
}

} // namespace Orbisong
