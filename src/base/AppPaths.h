#pragma once

#include <QString>

namespace Orbisong {

// Where the program keeps its files.
class AppPaths
{
public:
    // The folder for data the program writes: $ORBISONG_HOME when set, else the user's
    // application data folder. Created on first use; always ends without a separator.
    static QString dataFolder();
    // The settings file: inside $ORBISONG_HOME when set, else in the user's config folder.
    static QString settingsFile();
    // A shipped read-only file (template, tip, picture): the data folder first, then the
    // installed share folder. Returns the data-folder path when neither has it.
    static QString shippedFile(const QString &relativePath);
    // The folder where other players' files such as "CDPLAYER.INI" are looked for by default.
    static QString windowsFolder();
    static void setShareFolder(const QString &folder);
    static QString shareFolder();
};

// The user's login name, keeping only 0-9, A-Z, a-z, "_" and "."; "Nologin" when nothing
// remains.
QString loginName();
QString sanitizeLoginName(const QString &raw);

} // namespace Orbisong
