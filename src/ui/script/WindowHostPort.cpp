#include "ui/script/WindowHostPort.h"

#include "ui/script/DesktopWallpaper.h"

#include <QDesktopServices>
#include <QFileInfo>
#include <QInputDialog>
#include <QMessageBox>
#include <QProcess>
#include <QUrl>

namespace Orbisong {

namespace {

constexpr int InputLimit = 255;

} // namespace

// A document is opened with its desktop application; a program is started with its
// arguments as they are, with no shell to interpret them.
void WindowHostPort::execute(const QString &program, const QStringList &arguments)
{
    const QFileInfo file(program);
    if (file.isFile() && !file.isExecutable()) {
        QDesktopServices::openUrl(QUrl::fromLocalFile(file.absoluteFilePath()));
        return;
    }
    if (!QProcess::startDetached(program, arguments))
        scriptError(QStringLiteral("Execute(): \"%1\" could not be started.").arg(program));
}

void WindowHostPort::openUrl(const QString &url)
{
    QDesktopServices::openUrl(QUrl::fromUserInput(url));
}

void WindowHostPort::weblink(int index)
{
    const QStringList links = m_links ? m_links() : QStringList();
    if (index >= 1 && index <= links.size())
        openUrl(links.at(index - 1));
}

void WindowHostPort::setIcon(const QString &path, int index)
{
    Q_UNUSED(index);
    QPixmap picture;
    if (QFileInfo(path).isFile())
        picture.load(path);
    if (m_icon)
        m_icon(picture);
}

void WindowHostPort::statusMessage(const QString &text, int seconds)
{
    if (m_status)
        m_status(text, seconds);
}

bool WindowHostPort::inputBox(const QString &prompt, const QString &defaultText, QString *text)
{
    bool ok = false;
    const QString entered = QInputDialog::getText(m_parent, QStringLiteral("Script Input"), prompt,
                                                  QLineEdit::Normal, defaultText, &ok);
    if (ok)
        *text = entered.left(InputLimit);
    return ok;
}

bool WindowHostPort::outputBox(const QString &prompt)
{
    QMessageBox box(QMessageBox::Information, QStringLiteral("Script Output"), prompt,
                    QMessageBox::Ok | QMessageBox::Cancel, m_parent);
    return box.exec() == QMessageBox::Ok;
}

void WindowHostPort::setWallpaper(const QString &path)
{
    DesktopWallpaper wallpaper(qEnvironmentVariable("XDG_CURRENT_DESKTOP"));
    const QString failure = wallpaper.set(path);
    if (!failure.isEmpty())
        scriptError(QStringLiteral("SetWallpaper(): ") + failure);
}

void WindowHostPort::scriptError(const QString &text)
{
    QMessageBox box(QMessageBox::Critical, QStringLiteral("Script Error"), text, QMessageBox::Ok,
                    m_parent);
    box.exec();
}

bool WindowHostPort::allowAlbumScript(const QString &album, const QString &script)
{
    QMessageBox box(QMessageBox::Question, QStringLiteral("Album Scripts"),
                    QStringLiteral("The album \"%1\" was described by someone else and holds "
                                   "scripts that run when it is inserted, ejected or played.\n\n"
                                   "Allow the scripts of this album to run?")
                        .arg(album),
                    QMessageBox::Yes | QMessageBox::No, m_parent);
    box.setDetailedText(script);
    box.setDefaultButton(QMessageBox::No);
    return box.exec() == QMessageBox::Yes;
}

} // namespace Orbisong
