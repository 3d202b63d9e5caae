#pragma once

#include <QString>
#include <QStringList>

namespace Orbisong {

// What event scripts may do to the world outside the engine: the player answers with its
// windows, the desktop and the browser; orbisong-cli prints each call; tests record them.
// Every call comes on the thread that fires the event, never on the script's own thread.
class ScriptHostPort
{
public:
    virtual ~ScriptHostPort() = default;

    // Starts `program` with `arguments`, never through a shell.
    virtual void execute(const QString &program, const QStringList &arguments) = 0;
    virtual void openUrl(const QString &url) = 0;
    // Opens web link `index` (1-based) of the current album; out of range does nothing.
    virtual void weblink(int index) = 0;
    virtual void setIcon(const QString &path, int index) = 0;
    // `seconds` 0: the message stays until another replaces it.
    virtual void statusMessage(const QString &text, int seconds) = 0;
    // True and the entered text when the user confirms.
    virtual bool inputBox(const QString &prompt, const QString &defaultText, QString *text) = 0;
    virtual bool outputBox(const QString &prompt) = 0;
    // `path` names an existing picture file.
    virtual void setWallpaper(const QString &path) = 0;
    // A failed or stopped run, or a host procedure's own failure.
    virtual void scriptError(const QString &text) = 0;
    // A script of an album that came from elsewhere asks once before it may run.
    virtual bool allowAlbumScript(const QString &album, const QString &script) = 0;
};

} // namespace Orbisong
