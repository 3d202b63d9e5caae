#pragma once

#include <QStringList>
#include <QUrl>

class QWidget;

namespace Orbisong {

// The user manual: HTML pages shipped under "help/", one per window and task, opened in the
// desktop's default browser at the topic of the window in focus.
class HelpTopics
{
public:
    // Every page of the manual, the contents page first.
    static QStringList pages();
    // The page that describes `window` (by its class); the contents page for others.
    static QString pageFor(const QWidget *window);
    // The page of a tip's help topic; the contents page for a topic it does not know.
    static QString pageForTip(const QString &topic);
    static QUrl url(const QString &page);
    // Opens the topic of `window` in the browser; false when the desktop refused it.
    static bool open(const QWidget *window);
};

} // namespace Orbisong
