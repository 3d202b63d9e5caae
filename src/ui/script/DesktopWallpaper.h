#pragma once

#include <QString>
#include <QStringList>

#include <functional>

namespace Orbisong {

// Sets the desktop's wallpaper through the desktop's own setting (GNOME, KDE Plasma, Xfce).
class DesktopWallpaper
{
public:
    // Runs a program with its arguments and returns its standard output, or nothing when it
    // could not run or failed.
    using Runner =
        std::function<bool(const QString &program, const QStringList &arguments, QString *output)>;

    // `desktop` as XDG_CURRENT_DESKTOP gives it; `runner` none: real programs.
    explicit DesktopWallpaper(const QString &desktop, Runner runner = {});

    // Empty on success, else why the wallpaper was not set.
    QString set(const QString &path);

private:
    bool run(const QString &program, const QStringList &arguments, QString *output = nullptr);

    QString m_desktop;
    Runner m_runner;
};

} // namespace Orbisong
