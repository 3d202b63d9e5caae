#pragma once

#include <QList>
#include <QString>

namespace Orbisong {

// One possible match a server offered.
struct CddbMatch
{
    QString category;
    QString discId;
    QString title;
    QString artist;
};

// The matches of a complete 211 (or 210 list) response, one per artist and title: the
// first of several with the same artist and title (without regard to case) is kept.
QList<CddbMatch> ParseCddbMatches(const QString &response);

// The server's welcome message from a complete 210 "motd" response.
struct CddbWelcome
{
    QString stamp; // the date and time of the status line, empty when it has none
    QString text;  // the message lines, status and "." lines removed
    // Only messages longer than 40 characters are worth showing.
    bool worthShowing() const { return text.size() > 40; }

    static CddbWelcome parse(const QString &response);
};

} // namespace Orbisong
