#include "player/PlayerMciCommands.h"

#include "collection/CurrentAlbum.h"
#include "player/PlayerEngine.h"

#include <QStringList>

namespace Orbisong {

namespace {

QString msfText(int frames)
{
    if (frames < 0)
        return QString();
    return QStringLiteral("%1:%2:%3")
        .arg(frames / 4500, 2, 10, QLatin1Char('0'))
        .arg(frames % 4500 / 75, 2, 10, QLatin1Char('0'))
        .arg(frames % 75, 2, 10, QLatin1Char('0'));
}

} // namespace

bool PlayerMciCommands::run(const QString &command, QString *answer)
{
    const QStringList words = command.simplified().toLower().split(QLatin1Char(' '));
    const QString verb = words.value(0);
    answer->clear();
    if (words.size() == 2 && verb == QLatin1String("play")) {
        m_engine.startPlayback();
        return true;
    }
    if (words.size() == 2 && verb == QLatin1String("stop")) {
        m_engine.stopPlayback();
        return true;
    }
    if (words.size() == 3 && verb == QLatin1String("status")) {
        *answer = status(words.at(2));
        if (!answer->isNull())
            return true;
    }
    *answer = QStringLiteral("The media command \"%1\" is not supported; the player answers "
                             "play, stop and status with position, length or mode.")
                  .arg(command.simplified());
    return false;
}

// A null answer refuses the item; without a disc the known items answer empty text.
QString PlayerMciCommands::status(const QString &item)
{
    const bool ready = !m_engine.noDrive() && m_engine.audioPresent();
    if (item == QLatin1String("mode")) {
        if (!ready)
            return QStringLiteral("not ready");
        if (m_engine.playing())
            return m_engine.paused() ? QStringLiteral("paused") : QStringLiteral("playing");
        return QStringLiteral("stopped");
    }
    if (item == QLatin1String("position"))
        return ready ? msfText(qMax(0, m_engine.position())) : QString(QLatin1String(""));
    if (item == QLatin1String("length")) {
        const DiscInfo &disc = m_engine.current().disc;
        const int frames =
            disc.trackCount > 0 ? disc.trackOffsets[disc.trackCount + 1] - disc.trackOffsets[1] : 0;
        return ready ? msfText(frames) : QString(QLatin1String(""));
    }
    return QString();
}

} // namespace Orbisong
