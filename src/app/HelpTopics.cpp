#include "app/HelpTopics.h"

#include "base/AppPaths.h"

#include <QDesktopServices>
#include <QWidget>

namespace Orbisong {

namespace {

struct Topic
{
    const char *classPart;
    const char *page;
};

// Matched in order against the window's class name; the first part found names its page.
constexpr Topic Topics[] = {
    {"Playlist", "playlists.html"},
    {"StepProperties", "playlists.html"},
    {"Collection", "collection.html"},
    {"Category", "collection.html"},
    {"Options", "options.html"},
    {"Script", "scripts.html"},
    {"Export", "export-print.html"},
    {"Print", "export-print.html"},
    {"CDDB", "recognising.html"},
    {"Remote", "recognising.html"},
    {"AlbumProperties", "collection.html"},
    {"Album", "recognising.html"},
    {"Wizard", "first-start.html"},
    {"Player", "playing.html"},
    {"Timer", "playing.html"},
    {"Autoplay", "playing.html"},
    {"Autostop", "playing.html"},
    {"Position", "playing.html"},
};

// The help topics named by the tips of the day, and the pages that explain them.
constexpr Topic TipTopics[] = {
    {"player", "playing.html"},      {"tray", "playing.html"},
    {"timer", "playing.html"},       {"collection", "collection.html"},
    {"weblinks", "collection.html"}, {"lookup", "recognising.html"},
    {"submit", "recognising.html"},  {"playlists", "playlists.html"},
    {"scripts", "scripts.html"},     {"export", "export-print.html"},
    {"print", "export-print.html"},  {"cli", "command-line.html"},
};

} // namespace

QString HelpTopics::pageForTip(const QString &topic)
{
    for (const Topic &known : TipTopics) {
        if (topic.compare(QLatin1String(known.classPart), Qt::CaseInsensitive) == 0)
            return QString::fromLatin1(known.page);
    }
    return pages().constFirst();
}

QStringList HelpTopics::pages()
{
    return {QStringLiteral("index.html"),       QStringLiteral("first-start.html"),
            QStringLiteral("playing.html"),     QStringLiteral("recognising.html"),
            QStringLiteral("collection.html"),  QStringLiteral("playlists.html"),
            QStringLiteral("scripts.html"),     QStringLiteral("script-language.html"),
            QStringLiteral("options.html"),     QStringLiteral("export-print.html"),
            QStringLiteral("command-line.html")};
}

QString HelpTopics::pageFor(const QWidget *window)
{
    if (window) {
        const QString name = QString::fromLatin1(window->metaObject()->className());
        for (const Topic &topic : Topics) {
            if (name.contains(QLatin1String(topic.classPart)))
                return QString::fromLatin1(topic.page);
        }
    }
    return pages().constFirst();
}

QUrl HelpTopics::url(const QString &page)
{
    return QUrl::fromLocalFile(AppPaths::shippedFile(QStringLiteral("help/") + page));
}

bool HelpTopics::open(const QWidget *window)
{
    return QDesktopServices::openUrl(url(pageFor(window)));
}

} // namespace Orbisong
