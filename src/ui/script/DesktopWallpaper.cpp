#include "ui/script/DesktopWallpaper.h"

#include <QProcess>
#include <QUrl>

namespace Orbisong {

namespace {

constexpr int ProgramTimeoutMs = 10000;

bool runProgram(const QString &program, const QStringList &arguments, QString *output)
{
    QProcess process;
    process.start(program, arguments);
    if (!process.waitForStarted() || !process.waitForFinished(ProgramTimeoutMs))
        return false;
    if (output)
        *output = QString::fromLocal8Bit(process.readAllStandardOutput());
    return process.exitStatus() == QProcess::NormalExit && process.exitCode() == 0;
}

} // namespace

DesktopWallpaper::DesktopWallpaper(const QString &desktop, Runner runner)
    : m_desktop(desktop.toUpper()), m_runner(runner ? std::move(runner) : Runner(runProgram))
{
}

bool DesktopWallpaper::run(const QString &program, const QStringList &arguments, QString *output)
{
    return m_runner(program, arguments, output);
}

QString DesktopWallpaper::set(const QString &path)
{
    const QString uri = QUrl::fromLocalFile(path).toString();
    if (m_desktop.contains(QLatin1String("GNOME")) || m_desktop.contains(QLatin1String("UNITY")) ||
        m_desktop.contains(QLatin1String("CINNAMON")) ||
        m_desktop.contains(QLatin1String("BUDGIE"))) {
        const QString schema = QStringLiteral("org.gnome.desktop.background");
        if (!run(QStringLiteral("gsettings"),
                 {QStringLiteral("set"), schema, QStringLiteral("picture-uri"), uri}))
            return QStringLiteral("The desktop's wallpaper setting could not be changed.");
        // Newer desktops keep a second picture for the dark style; older ones lack the key.
        run(QStringLiteral("gsettings"),
            {QStringLiteral("set"), schema, QStringLiteral("picture-uri-dark"), uri});
        return {};
    }
    if (m_desktop.contains(QLatin1String("KDE"))) {
        if (!run(QStringLiteral("plasma-apply-wallpaperimage"), {path}))
            return QStringLiteral("The desktop's wallpaper setting could not be changed.");
        return {};
    }
    if (m_desktop.contains(QLatin1String("XFCE"))) {
        QString properties;
        if (!run(QStringLiteral("xfconf-query"),
                 {QStringLiteral("-c"), QStringLiteral("xfce4-desktop"), QStringLiteral("-l")},
                 &properties))
            return QStringLiteral("The desktop's wallpaper setting could not be read.");
        bool set = false;
        for (const QString &property : properties.split(QLatin1Char('\n'), Qt::SkipEmptyParts)) {
            if (!property.endsWith(QLatin1String("/last-image")))
                continue;
            set = run(QStringLiteral("xfconf-query"),
                      {QStringLiteral("-c"), QStringLiteral("xfce4-desktop"), QStringLiteral("-p"),
                       property.trimmed(), QStringLiteral("-s"), path}) ||
                  set;
        }
        return set ? QString()
                   : QStringLiteral("The desktop's wallpaper setting could not be changed.");
    }
    return QStringLiteral("The wallpaper can only be set on GNOME, KDE Plasma and Xfce desktops; "
                          "this desktop (%1) is not one of them.")
        .arg(m_desktop.isEmpty() ? QStringLiteral("unknown") : m_desktop);
}

} // namespace Orbisong
