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
    {"Playlist", "playlists.html"},    {"StepProperties", "playlists.html"},
    {"Collection", "collection.html"}, {"Category", "collection.html"},
    {"Options", "options.html"},       {"Script", "scripts.html"},
    {"Export", "export-print.html"},   {"Print", "export-print.html"},
    {"CDDB", "recognising.html"},      {"Remote", "recognising.html"},
    {"Album", "recognising.html"},     {"Wizard", "first-start.html"},
    {"Player", "playing.html"},        {"Timer", "playing.html"},
    {"Autoplay", "playing.html"},      {"Autostop", "playing.html"},
    {"Position", "playing.html"},
};

} // namespace

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
