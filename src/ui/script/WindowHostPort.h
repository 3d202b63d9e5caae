#pragma once

#include "player/ScriptHostPort.h"

#include <QPixmap>

#include <functional>

class QWidget;

namespace Orbisong {

// The player's answers to the host procedures of event scripts: its status box, the album's
// web links, the browser, started programs, the desktop's wallpaper and dialogs.
class WindowHostPort : public ScriptHostPort
{
public:
    using StatusSink = std::function<void(const QString &text, int seconds)>;
    using LinkSource = std::function<QStringList()>;
    // A null picture: back to the status background.
    using IconSink = std::function<void(const QPixmap &picture)>;

    explicit WindowHostPort(QWidget *parent = nullptr) : m_parent(parent) {}

    void setStatusSink(StatusSink sink) { m_status = std::move(sink); }
    void setWebLinks(LinkSource links) { m_links = std::move(links); }
    void setIconSink(IconSink sink) { m_icon = std::move(sink); }

    void execute(const QString &program, const QStringList &arguments) override;
    void openUrl(const QString &url) override;
    void weblink(int index) override;
    void setIcon(const QString &path, int index) override;
    void statusMessage(const QString &text, int seconds) override;
    bool inputBox(const QString &prompt, const QString &defaultText, QString *text) override;
    bool outputBox(const QString &prompt) override;
    void setWallpaper(const QString &path) override;
    void scriptError(const QString &text) override;
    bool allowAlbumScript(const QString &album, const QString &script) override;

private:
    QWidget *m_parent;
    StatusSink m_status;
    LinkSource m_links;
    IconSink m_icon;
};

} // namespace Orbisong
