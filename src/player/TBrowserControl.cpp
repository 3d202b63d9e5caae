#include "player/TBrowserControl.h"

#include "collection/Settings.h"
#include "collection/WebLinkItem.h"
#include "player/WebLinkSearch.h"

#include <QFileInfo>
#include <QLoggingCategory>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>

Q_LOGGING_CATEGORY(lcBrowser, "orbisong.browser")

namespace Orbisong {

namespace {

constexpr int SettingFirst = 2;
constexpr int SettingSecond = 4;

bool startDetached(const QString &program, const QStringList &arguments)
{
    return QProcess::startDetached(program, arguments);
}

} // namespace

TBrowserControl::TBrowserControl(Settings &settings, QStringList searchPath)
    : m_settings(settings), m_searchPath(std::move(searchPath)),
      m_desktopOpener([](const QUrl &url) {
          return startDetached(QString::fromLatin1(DesktopProgram),
                               {url.toString(QUrl::FullyEncoded)});
      }),
      m_starter(startDetached)
{
}

void TBrowserControl::startup()
{
    findBrowsers();
    m_selected = None;
    select(First);
    if (m_selected == None)
        select(Second);
}

QString TBrowserControl::browserPath(int which) const
{
    return which == First || which == Second ? m_paths[which - 1] : QString();
}

QString TBrowserControl::findBrowser(const QString &configured, const QStringList &candidates) const
{
    const QString name = configured.trimmed();
    if (name.contains(QLatin1Char('/'))) {
        const QFileInfo file(name);
        return file.isFile() && file.isExecutable() ? file.absoluteFilePath() : QString();
    }
    for (const QString &candidate : name.isEmpty() ? candidates : QStringList{name}) {
        const QString found = QStandardPaths::findExecutable(candidate, m_searchPath);
        if (!found.isEmpty())
            return found;
    }
    return {};
}

void TBrowserControl::findBrowsers()
{
    m_paths[0] = findBrowser(m_settings.firstBrowser,
                             {QStringLiteral("firefox-esr"), QStringLiteral("firefox")});
    m_paths[1] = findBrowser(m_settings.secondBrowser,
                             {QStringLiteral("chromium"), QStringLiteral("chromium-browser")});
}

void TBrowserControl::select(int which)
{
    if (which == First || which == Second) {
        if (!browserPath(which).isEmpty())
            m_selected = which;
        return;
    }
    if (which != BySetting)
        return;
    if (m_settings.defaultBrowser == SettingFirst && !m_paths[0].isEmpty()) {
        m_selected = First;
    } else if (m_settings.defaultBrowser == SettingSecond && !m_paths[1].isEmpty()) {
        m_selected = Second;
    } else if (!m_paths[0].isEmpty()) {
        m_selected = First;
        m_settings.defaultBrowser = SettingFirst;
    } else if (!m_paths[1].isEmpty()) {
        m_selected = Second;
        m_settings.defaultBrowser = SettingSecond;
    } else {
        m_selected = None;
        m_settings.defaultBrowser = SettingFirst;
    }
}

QUrl TBrowserControl::openableUrl(const QString &address)
{
    QString text = address.trimmed();
    // A leading "-" would reach a browser as an option of its own.
    if (text.isEmpty() || text.startsWith(QLatin1Char('-')))
        return {};
    // A bare site name gets a scheme; "name:" before anything but a port number is a scheme
    // of its own ("mailto:", "javascript:") and stays, to be refused below.
    static const QRegularExpression otherScheme(QStringLiteral("^[A-Za-z][A-Za-z0-9+.-]*:(?!\\d)"));
    if (!text.contains(QLatin1String(":/")) && !otherScheme.match(text).hasMatch())
        text.prepend(QLatin1String("http://"));
    const QUrl url(text, QUrl::TolerantMode);
    const QString scheme = url.scheme().toLower();
    const bool allowed = scheme == QLatin1String("http") || scheme == QLatin1String("https") ||
                         scheme == QLatin1String("ftp");
    if (!url.isValid() || !allowed || url.host().isEmpty())
        return {};
    return url;
}

BrowserLaunch TBrowserControl::plan(const QString &address, int flags)
{
    BrowserLaunch launch;
    launch.url = openableUrl(address);
    if (!launch.url.isValid()) {
        launch.url = QUrl();
        return launch;
    }
    findBrowsers();
    if (flags & WebLinkFirstBrowser)
        select(First);
    else if (flags & WebLinkSecondBrowser)
        select(Second);
    else
        select(BySetting);
    const QString program = browserPath(m_selected);
    if (program.isEmpty()) {
        launch.kind = BrowserLaunch::Desktop;
        launch.program = QString::fromLatin1(DesktopProgram);
    } else {
        launch.kind = BrowserLaunch::Program;
        launch.program = program;
    }
    launch.arguments = {launch.url.toString(QUrl::FullyEncoded)};
    return launch;
}

bool TBrowserControl::openAddress(const QString &address, int flags)
{
    const BrowserLaunch launch = plan(address, flags);
    switch (launch.kind) {
    case BrowserLaunch::Refused:
        qCInfo(lcBrowser) << "refused to open" << address;
        return false;
    case BrowserLaunch::Desktop:
        return m_desktopOpener(launch.url);
    case BrowserLaunch::Program:
        break;
    }
    const bool started = m_starter(launch.program, launch.arguments);
    if (!started)
        qCInfo(lcBrowser) << "the browser did not start:" << launch.program;
    return started;
}

bool TBrowserControl::openTemplate(const QString &address, const QString &artist)
{
    const QString expanded = ExpandSearchTemplate(address, artist);
    return !expanded.isEmpty() && openAddress(expanded, 0);
}

bool TBrowserControl::currentPage(QString *address, QString *title) const
{
    address->clear();
    title->clear();
    return false;
}

QString TBrowserControl::choiceName(int flags)
{
    if (flags & WebLinkFirstBrowser)
        return QStringLiteral("first");
    if (flags & WebLinkSecondBrowser)
        return QStringLiteral("second");
    return QStringLiteral("default");
}

} // namespace Orbisong
