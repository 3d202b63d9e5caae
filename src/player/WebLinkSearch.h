#pragma once

#include <QList>
#include <QString>

namespace Orbisong {

// One item of an artist search profile: a menu caption and an address template in which
// "%A" stands for the artist. The caption "-" makes a separator line.
struct SearchSite
{
    QString caption;
    QString address;

    bool isSeparator() const { return caption == QLatin1String("-"); }
};

// The items of a profile: separated by "|", caption and template by "`", both trimmed.
// Items without a caption are left out.
QList<SearchSite> ParseSearchProfile(const QString &profile);

// The template with its first "%A" replaced by `artist` encoded as an HTTP form value;
// empty when the template holds no "%A".
QString ExpandSearchTemplate(const QString &address, const QString &artist);

} // namespace Orbisong
