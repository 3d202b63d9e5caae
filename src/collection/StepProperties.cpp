#include "collection/StepProperties.h"

#include "collection/AlbumInfo.h"
#include "collection/DiscInfo.h"

namespace Orbisong {

namespace {

QString plainLines(const QString &text)
{
    return QString(text).replace(QLatin1String("\r\n"), QLatin1String("\n")).trimmed();
}

} // namespace

StepProperties::StepProperties(const DiscInfo &disc, const AlbumInfo &album, const TStep &step)
    : m_title(step.title), m_script(step.script.isEmpty() ? scriptTemplate() : step.script)
{
    const int tracks = qBound(0, disc.trackCount, int(DiscInfo::MaxTracks));
    for (int t = 1; t <= tracks; ++t) {
        if (disc.trackOffsets[std::size_t(t)] <= step.start)
            m_track = t;
    }
    m_trackStart = disc.trackOffsets[std::size_t(m_track)];
    m_trackLength = qMax(0, disc.trackOffsets[std::size_t(m_track + 1)] - m_trackStart);
    if (tracks == 0)
        m_trackLength = 0;
    m_trackTitle = album.trackTitles[std::size_t(m_track)];
    m_startOffset = qBound(0, step.start - m_trackStart, m_trackLength);
    m_endOffset = qBound(0, step.end - m_trackStart, m_trackLength);
}

QString StepProperties::scriptTemplate()
{
    return QStringLiteral("procedure Main;\n  // Enter code for this event here.\n\nendproc;");
}

bool StepProperties::apply(TStep &step, const QString &title, const QString &script,
                           int startOffset, int endOffset) const
{
    const int start = m_trackStart + startOffset;
    const int end = m_trackStart + endOffset;
    if (end < start)
        return false;
    step.script = plainLines(script) == plainLines(scriptTemplate()) ? QString() : script;
    const QString trimmed = title.trimmed();
    const bool own =
        trimmed.isEmpty() || trimmed.compare(m_trackTitle.trimmed(), Qt::CaseInsensitive) == 0;
    step.title = own ? QString() : title;
    step.start = start;
    step.end = end;
    return true;
}

} // namespace Orbisong
