#include "net/MailAddress.h"

#include <algorithm>

namespace Orbisong {

MailAddress MailAddress::parse(const QString &entry)
{
    const qsizetype bar = entry.indexOf(QLatin1Char('|'));
    MailAddress result;
    result.address = HeaderSafe(bar < 0 ? entry : entry.left(bar)).trimmed();
    if (bar >= 0)
        result.name = HeaderSafe(entry.mid(bar + 1)).trimmed();
    return result;
}

QString MailAddress::headerForm() const
{
    const QString bracketed = QLatin1Char('<') + address + QLatin1Char('>');
    return name.isEmpty() ? bracketed : name + QLatin1Char(' ') + bracketed;
}

QString MailAddress::domain() const
{
    const qsizetype at = address.indexOf(QLatin1Char('@'));
    return at < 0 ? QString() : address.mid(at + 1);
}

QString HeaderSafe(const QString &text)
{
    QString out = text;
    out.remove(QLatin1Char('\r'));
    out.remove(QLatin1Char('\n'));
    return out;
}

bool IsValidMailAddress(const QString &address)
{
    if (!address.contains(QLatin1Char('@')))
        return false;
    return std::none_of(address.begin(), address.end(), [](QChar c) {
        return c.unicode() <= 32 || c.unicode() == 127 || c == QLatin1Char('<') ||
               c == QLatin1Char('>') || c.category() == QChar::Other_Control || c.isSpace();
    });
}

} // namespace Orbisong
