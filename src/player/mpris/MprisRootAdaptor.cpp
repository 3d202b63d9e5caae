#include "player/mpris/MprisRootAdaptor.h"

#include "player/mpris/MprisControls.h"

namespace Orbisong {

MprisRootAdaptor::MprisRootAdaptor(QObject *parent, const MprisControls &controls)
    : QDBusAbstractAdaptor(parent), m_controls(controls)
{
}

QString MprisRootAdaptor::identity() const
{
    return QStringLiteral("Orbisong");
}

QString MprisRootAdaptor::desktopEntry() const
{
    // The name of the installed .desktop file, without its extension.
    return QStringLiteral("orbisong");
}

void MprisRootAdaptor::Raise()
{
    if (m_controls.raise)
        m_controls.raise();
}

void MprisRootAdaptor::Quit()
{
    if (m_controls.quit)
        m_controls.quit();
}

} // namespace Orbisong
