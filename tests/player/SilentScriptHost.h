#pragma once

#include "player/ScriptHostPort.h"

#include <QStringList>

// A host that answers every procedure with nothing and keeps the error texts, for tests that
// look at what a script does to something else.
class SilentScriptHost : public Orbisong::ScriptHostPort
{
public:
    void execute(const QString &, const QStringList &) override {}
    void openUrl(const QString &) override {}
    void weblink(int) override {}
    void setIcon(const QString &, int) override {}
    void statusMessage(const QString &, int) override {}
    bool inputBox(const QString &, const QString &, QString *) override { return false; }
    bool outputBox(const QString &) override { return false; }
    void setWallpaper(const QString &) override {}
    void scriptError(const QString &text) override { errors << text; }
    bool allowAlbumScript(const QString &, const QString &) override { return false; }
    QStringList errors;
};
