#include "print/PrintTemplate.h"

#include "collection/MultilineCodec.h"
#include "collection/StoredText.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

#include <algorithm>

namespace Orbisong {

namespace {

constexpr double Units = 10000.0; // stored rectangles are in 1/10000 inch

QRectF parseRect(const QString &line, bool *ok)
{
    const QStringList parts = line.split(QLatin1Char(','));
    *ok = parts.size() == 4;
    double values[4] = {0, 0, 0, 0};
    for (int i = 0; *ok && i < 4; ++i)
        values[i] = parts.at(i).trimmed().toInt(ok) / Units;
    return *ok ? QRectF(values[0], values[1], values[2], values[3]) : QRectF();
}

QString rectLine(const QRectF &r)
{
    return QStringLiteral("%1,%2,%3,%4")
        .arg(qRound(r.left() * Units))
        .arg(qRound(r.top() * Units))
        .arg(qRound(r.width() * Units))
        .arg(qRound(r.height() * Units));
}

QStringList readLines(const QString &path, QString *error)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        if (error)
            *error = file.errorString();
        return {};
    }
    QString text = decodeStoredText(file.readAll());
    text.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    return text.split(QLatin1Char('\n'));
}

} // namespace

void PrintTemplate::sortAreas()
{
    const bool rows = has(RowsFirst);
    std::stable_sort(areas.begin(), areas.end(), [rows](const QRectF &a, const QRectF &b) {
        if (rows)
            return a.top() != b.top() ? a.top() < b.top() : a.left() < b.left();
        return a.left() != b.left() ? a.left() < b.left() : a.top() < b.top();
    });
}

bool isPrintTemplateFile(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    return QString::fromLatin1(file.readLine(64))
               .trimmed()
               .compare(QLatin1String("PRINT"), Qt::CaseInsensitive) == 0;
}

bool readPrintTemplate(const QString &path, PrintTemplate &tpl, QString *error)
{
    const QStringList lines = readLines(path, error);
    if (lines.isEmpty())
        return false;
    if (lines.first().trimmed().compare(QLatin1String("PRINT"), Qt::CaseInsensitive) != 0) {
        if (error)
            *error = QStringLiteral("%1 is not a print template").arg(path);
        return false;
    }
    tpl = PrintTemplate();
    const auto line = [&lines](int n) { return n < lines.size() ? lines.at(n) : QString(); };
    tpl.flags = line(1).trimmed().toInt();
    tpl.header = unescapeTemplateText(line(2));
    tpl.footer = unescapeTemplateText(line(3));
    tpl.area = unescapeTemplateText(line(4));
    bool ok = false;
    if (tpl.has(PrintTemplate::HasHeader))
        tpl.headerRect = parseRect(line(5), &ok);
    if (tpl.has(PrintTemplate::HasFooter))
        tpl.footerRect = parseRect(line(6), &ok);
    for (int n = 7; n < lines.size(); ++n) {
        if (lines.at(n).trimmed().isEmpty())
            continue;
        const QRectF r = parseRect(lines.at(n), &ok);
        if (ok)
            tpl.areas.append(r);
    }
    return true;
}

bool writePrintTemplate(const QString &path, const PrintTemplate &tpl, QString *error)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QStringList lines{QStringLiteral("PRINT"),        QString::number(tpl.flags),
                      escapeTemplateText(tpl.header), escapeTemplateText(tpl.footer),
                      escapeTemplateText(tpl.area),   rectLine(tpl.headerRect),
                      rectLine(tpl.footerRect)};
    for (const QRectF &r : tpl.areas)
        lines.append(rectLine(r));
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) {
        if (error)
            *error = file.errorString();
        return false;
    }
    file.write((lines.join(QLatin1String("\r\n")) + QLatin1String("\r\n")).toUtf8());
    if (!file.commit()) {
        if (error)
            *error = file.errorString();
        return false;
    }
    return true;
}

QString escapeTemplateText(const QString &text)
{
    QString out;
    out.reserve(text.size() + 16);
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (c == QLatin1Char('\r') && i + 1 < text.size() && text.at(i + 1) == QLatin1Char('\n'))
            continue; // the line feed that follows writes the pair
        if (c == QLatin1Char('\n') || c == QLatin1Char('\r'))
            out += QLatin1String("\\n");
        else if (c == QLatin1Char('\t'))
            out += QLatin1String("\\t");
        else if (c == QLatin1Char('\\'))
            out += QLatin1String("\\\\");
        else
            out += c;
    }
    return out;
}

QString unescapeTemplateText(const QString &line)
{
    return DecodeMultiline(line, UnknownEscape::Keep);
}

} // namespace Orbisong
