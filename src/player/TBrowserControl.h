#pragma once

#include <QString>
#include <QStringList>
#include <QUrl>

#include <functional>

namespace Orbisong {

struct Settings;

// How one address is to be opened: refused, by the desktop's default browser, or by one of
// the two browser programs with the address as its only argument.
struct BrowserLaunch
{
    enum Kind { Refused, Desktop, Program };
    Kind kind = Refused;
    QUrl url;
    QString program;
    QStringList arguments;
};

// Drives the web browsers: the two browser programs of the settings ("First Browser",
// "Second Browser"; when empty, well-known browsers on the search path) and the desktop's
// default browser, which opens addresses when neither program is installed. The setting
// "Default Browser" (2 first, 4 second) chooses for links that name no browser.
class TBrowserControl
{
public:
    enum Which { None = 0, First = 1, Second = 2, BySetting = 3 };
    // The program that hands an address to the desktop's default browser without Qt GUI.
    static constexpr const char *DesktopProgram = "xdg-open";

    using DesktopOpener = std::function<bool(const QUrl &url)>;
    using ProgramStarter = std::function<bool(const QString &program, const QStringList &args)>;

    // Browsers named without a folder are looked for in `searchPath`; empty means $PATH.
    explicit TBrowserControl(Settings &settings, QStringList searchPath = {});

    // Finds both browsers and selects the first installed one, first before second.
    void startup();
    // The full path of browser 1 or 2; empty when it is not installed.
    QString browserPath(int which) const;
    int selected() const { return m_selected; }
    // 1 or 2: that browser when installed, else the selection stays; 3: by the setting.
    void select(int which);

    // The address as it may be opened: http, https or ftp only, never one starting with
    // "-"; an address without ":/" gets "http://" in front. Invalid when refused.
    static QUrl openableUrl(const QString &address);
    // Chooses the browser for a link with `flags` (2 first, 4 second, else by the setting).
    BrowserLaunch plan(const QString &address, int flags);
    // Opens the address as planned; false when refused or the browser did not start.
    bool openAddress(const QString &address, int flags);
    // Opens the template with its first "%A" replaced by the artist, in the browser the
    // setting chooses; a template without "%A" opens nothing.
    bool openTemplate(const QString &address, const QString &artist);
    // The page the browser shows. No browser here tells another program its current page,
    // so there is never one: callers show that the browser could not be asked.
    bool currentPage(QString *address, QString *title) const;

    // Replaces how the desktop's default browser and the programs are started (the window
    // uses QDesktopServices; tests record).
    void setDesktopOpener(DesktopOpener opener) { m_desktopOpener = std::move(opener); }
    void setProgramStarter(ProgramStarter starter) { m_starter = std::move(starter); }

    // "first", "second" or "default": the browser a link's flags ask for.
    static QString choiceName(int flags);

private:
    void findBrowsers();
    QString findBrowser(const QString &configured, const QStringList &candidates) const;

    Settings &m_settings;
    QStringList m_searchPath;
    QString m_paths[2];
    int m_selected = None;
    DesktopOpener m_desktopOpener;
    ProgramStarter m_starter;
};

} // namespace Orbisong
