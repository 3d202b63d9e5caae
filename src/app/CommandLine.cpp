#include "app/CommandLine.h"

#include <QFileInfo>

namespace Orbisong {

bool isDiscImagePath(const QString &argument)
{
    const QString suffix = QFileInfo(argument).suffix().toLower();
    return suffix == QLatin1String("cue") || suffix == QLatin1String("toc")
           || suffix == QLatin1String("nrg");
}

StartupSwitches parseStartupSwitches(const QStringList &arguments, const QStringList &driveLetters,
                                     const TrackFileReader &readTrack)
{
    StartupSwitches switches;
    for (const QString &argument : arguments) {
        const QString upper = argument.toUpper();
        if (upper == QLatin1String("/PLAY")) {
            switches.play = true;
        } else if (upper == QLatin1String("/CLOSE")) {
            switches.closeOnEject = true;
        } else if (upper == QLatin1String("/NODRIVE")) {
            switches.noDrive = true;
        } else if (upper == QLatin1String("--DEMO")) {
            switches.demo = true;
        } else if (isDiscImagePath(argument)) {
            switches.discImages.append(argument);
        } else {
            if (upper == QLatin1String("/CONVERT"))
                switches.convert = true;
            else if (upper == QLatin1String("/NOANIM"))
                switches.noAnimations = true;
            // Every other parameter, the two switches above included, is read as a path.
            if (upper.size() >= 2 && upper.at(1) == QLatin1Char(':')
                && driveLetters.contains(QString(upper.at(0)))) {
                switches.startDrive = QString(upper.at(0));
                if (upper.size() > 3 && readTrack)
                    switches.startTrack = readTrack(argument);
            }
        }
    }
    return switches;
}

Handover computeHandover(const QStringList &arguments, const TrackFileReader &readTrack)
{
    bool play = false;
    QChar drive;
    int track = 0;
    for (const QString &argument : arguments) {
        const QString upper = argument.toUpper();
        if (upper.startsWith(QLatin1Char('/'))) {
            if (upper == QLatin1String("/PLAY"))
                play = true;
        } else if (!upper.isEmpty() && upper.at(0) >= QLatin1Char('A')
                   && upper.at(0) <= QLatin1Char('Z')) {
            const int number = readTrack ? readTrack(QFileInfo(argument).absoluteFilePath()) : 0;
            if (number > 0)
                drive = upper.at(0);
            track = number;
        }
    }

    Handover handover;
    if (track > 0 && !drive.isNull()) {
        handover.kind = Handover::PlayTrack;
        handover.drive = drive;
        handover.track = track;
    } else if (play) {
        handover.kind = Handover::Play;
        handover.drive = drive;
    }
    return handover;
}

QString Handover::encode() const
{
    const QString letter = drive.isNull() ? QString() : QString(drive);
    switch (kind) {
    case Play:
        return QStringLiteral("PLAY drive=%1").arg(letter);
    case PlayTrack:
        return QStringLiteral("PLAYTRACK drive=%1 track=%2").arg(letter).arg(track);
    case Raise:
        break;
    }
    return QStringLiteral("RAISE");
}

Handover Handover::decode(const QString &line)
{
    Handover handover;
    const QStringList words = line.trimmed().split(QLatin1Char(' '), Qt::SkipEmptyParts);
    if (words.isEmpty())
        return handover;
    if (words.first() == QLatin1String("PLAY"))
        handover.kind = Play;
    else if (words.first() == QLatin1String("PLAYTRACK"))
        handover.kind = PlayTrack;
    for (const QString &word : words.mid(1)) {
        if (word.startsWith(QLatin1String("drive=")) && word.size() > 6)
            handover.drive = word.at(6).toUpper();
        else if (word.startsWith(QLatin1String("track=")))
            handover.track = word.mid(6).toInt();
    }
    return handover;
}

} // namespace Orbisong
