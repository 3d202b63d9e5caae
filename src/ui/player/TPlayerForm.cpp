#include "TPlayerForm.h"

#include "Settings.h"

#include <QApplication>
#include <QMenuBar>

namespace Orbisong {

TPlayerForm::TPlayerForm(Settings &settings, QWidget *parent)
    : QMainWindow(parent)
    , m_settings(settings)
{
    setObjectName(QStringLiteral("TPlayerForm"));
    setWindowTitle(formatCaption(settings.captionFormat));
    resize(420, 300);
    buildMenus();
    applyStayOnTop(settings.GetOptionFlag(_GLOB_OPTION_STAYONTOP));
}

QString TPlayerForm::formatCaption(const QString &format)
{
    QString caption = format;
    caption.replace(QLatin1String("%P"), QStringLiteral("Orbisong"));
    caption.replace(QLatin1String("%V"), QStringLiteral("4.0.3"));
    return caption;
}

void TPlayerForm::buildMenus()
{
    QMenu *file = menuBar()->addMenu(tr("&File"));
    QAction *exit = file->addAction(tr("E&xit"), QKeySequence(Qt::ALT | Qt::Key_F4), this,
                                    &QWidget::close);
    exit->setObjectName(QStringLiteral("ExitAction"));
    menuBar()->addMenu(tr("&Control"));
    menuBar()->addMenu(tr("&Playlist"));
    QMenu *help = menuBar()->addMenu(tr("&Help"));
    QAction *about = help->addAction(tr("&About Orbisong..."), QKeySequence(Qt::Key_F1), this,
                                     &TPlayerForm::aboutRequested);
    about->setObjectName(QStringLiteral("AboutAction"));
}

void TPlayerForm::suspendStayOnTop()
{
    if (m_stayOnTopSuspensions++ == 0 && m_settings.GetOptionFlag(_GLOB_OPTION_STAYONTOP))
        applyStayOnTop(false);
}

void TPlayerForm::resumeStayOnTop()
{
    if (m_stayOnTopSuspensions > 0 && --m_stayOnTopSuspensions == 0
        && m_settings.GetOptionFlag(_GLOB_OPTION_STAYONTOP))
        applyStayOnTop(true);
}

void TPlayerForm::applyStayOnTop(bool on)
{
    if (windowFlags().testFlag(Qt::WindowStaysOnTopHint) == on)
        return;
    const bool visible = isVisible();
    setWindowFlag(Qt::WindowStaysOnTopHint, on);
    if (visible)
        show();
}

} // namespace Orbisong
