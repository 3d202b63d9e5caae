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
        if (status(words.at(2), answer))
            return true;
    }
    *answer = QStringLiteral("The media command \"%1\" is not supported; the player answers "
                             "play, stop and status with position, length or mode.")
                  .arg(command.simplified());
    return false;
}

bool PlayerMciCommands::status(const QString &item, QString *answer)
{
    const bool ready = !m_engine.noDrive() && m_engine.audioPresent();
    if (item == QLatin1String("mode")) {
        if (!ready)
            *answer = QStringLiteral("not ready");
        else if (m_engine.playing())
            *answer = m_engine.paused() ? QStringLiteral("paused") : QStringLiteral("playing");
        else
            *answer = QStringLiteral("stopped");
        return true;
    }
    // Without a disc the times answer empty text.
    if (item == QLatin1String("position")) {
        if (ready)
            *answer = msfText(qMax(0, m_engine.position()));
        return true;
    }
    if (item == QLatin1String("length")) {
        const DiscInfo &disc = m_engine.current().disc;
        if (ready && disc.trackCount > 0)
            *answer = msfText(disc.trackOffsets[disc.trackCount + 1] - disc.trackOffsets[1]);
        return true;
    }
    return false;
}

} // namespace Orbisong
