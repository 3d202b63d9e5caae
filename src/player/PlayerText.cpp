#include "player/PlayerText.h"

#include "collection/AlbumText.h"

namespace Orbisong {

namespace {

constexpr int MaxFormatOutput = 255;

QString placeholder(QChar letter, const FormatContext &c)
{
    switch (letter.unicode()) {
    case 'A':
        return c.artist;
    case 'B':
        return c.binder;
    case 'C':
        return QString::number(c.stepCount);
    case 'G':
        return c.category;
    case 'L':
        return c.playlistName;
    case 'N':
        return QString::number(c.stepNumber);
    case 'O':
        return c.owner;
    case 'P':
        return QStringLiteral("Orbisong");
    case 'R':
        return c.copyright;
    case 'T':
        return c.title;
    case 'V':
        return QStringLiteral("4.0.3");
    case 'Y':
        return c.year;
    case 'm':
        return TwoDigits(c.minutes);
    case 's':
        return TwoDigits(c.seconds);
    case 'n':
        return TwoDigits(c.track);
    case 'o':
        return c.track > 0 ? c.trackNotes : QString();
    case 't':
        return c.stepTitle;
    case '%':
        return QStringLiteral("%");
    default:
        return {};
    }
}

} // namespace

QString ExpandFormat(const QString &format, const FormatContext &context)
{
    if (format.size() < 2)
        return format;
    QString out;
    for (qsizetype i = 0; i < format.size(); ++i) {
        const QChar ch = format.at(i);
        if (ch == u'%') {
            if (++i < format.size())
                out += placeholder(format.at(i), context);
        } else if (ch == u'[') {
            if (++i >= format.size())
                break;
            const QChar condition = format.at(i);
            const bool keep = condition == u'A'   ? context.audio
                              : condition == u'a' ? !context.audio
                                                  : true;
            if (!keep) {
                while (i + 1 < format.size() && format.at(i + 1) != u']')
                    ++i;
            }
        } else if (ch != u']') {
            out += ch;
        }
        if (out.size() >= MaxFormatOutput)
            break;
    }
    return out.left(MaxFormatOutput);
}

QString TwoDigits(int value)
{
    if (value < 0)
        return QStringLiteral("00");
    return QStringLiteral("%1").arg(value, 2, 10, QLatin1Char('0'));
}

QString FramesToText(qint64 frames)
{
    const int minutes = frames < 0 ? -1 : int(frames / 4500);
    const int seconds = frames < 0 ? -1 : int((frames / 75) % 60);
    return TwoDigits(minutes) + u':' + TwoDigits(seconds);
}

QString TimeButtonText(int track, qint64 frames)
{
    return TwoDigits(track) + u' ' + FramesToText(frames);
}

QString PlaylistSummary(qint64 totalFrames, int stepCount)
{
    if (stepCount <= 0)
        return {};
    return FramesToText(totalFrames) + QStringLiteral(" in ") + QString::number(stepCount) +
           QStringLiteral(" tracks");
}

QString FavoritesPlaylistName(const QString &login)
{
    // A leading blank would be trimmed when the collection is stored, so the "Nologin"
    // user's playlist would come back as a second one after a reload.
    if (login.compare(QLatin1String("Nologin"), Qt::CaseInsensitive) == 0 || login.isEmpty())
        return QStringLiteral("Favorites");
    QString owner = ProperCase(login);
    owner += owner.endsWith(u's', Qt::CaseInsensitive) ? QStringLiteral("'") : QStringLiteral("'s");
    return owner + QStringLiteral(" Favorites");
}

QString DriveMenuCaption(QChar letter, bool showAlbumTitles, const DriveDiscLabel &label)
{
    QString text;
    if (showAlbumTitles) {
        switch (label.kind) {
        case DriveDiscLabel::Unreadable:
        case DriveDiscLabel::NotInCollection:
            text = QStringLiteral("<Unknown>");
            break;
        case DriveDiscLabel::Empty:
            text = QStringLiteral("<Drive Empty>");
            break;
        case DriveDiscLabel::Audio:
            text = label.title + QStringLiteral(" - ") + label.artist;
            break;
        case DriveDiscLabel::CdRom:
            text = QStringLiteral("<CD-ROM>");
            break;
        }
    }
    text.replace(u'&', QStringLiteral("&&"));
    return QString(letter.toUpper()) + QStringLiteral(": ") + text;
}

QString TrayTip(const QString &text)
{
    return text.left(TrayTipLength);
}

} // namespace Orbisong
