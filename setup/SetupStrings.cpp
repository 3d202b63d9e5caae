#include "SetupStrings.h"

#include <QStringList>

#include <map>

namespace Orbisong {

namespace {

const std::map<int, const char *> &table()
{
    static const std::map<int, const char *> entries = {
        {1004, "Cannot create the folder %s"},
        {1005, "Setup has not completed installing the software.\nAre you sure you want to "
               "cancel?"},
        {1006, "The software has not been successfully installed.\nYou must run Setup again "
               "before using the software."},
        {1013, "!The file %s is missing from the installation disk.\n"},
        {1014, "Setup cannot continue."},
        {1016, "!The destination folder is the folder Setup is running from.\n"},
        {1017, "Please choose a different folder."},
        {1018, "Cannot open %s for writing"},
        {1021, "Arcwell Setup"},
        {1022, "Another version of Arcwell is running.  Please close it and re-run SETUP"},
        {1023, "!The file %s on the installation disk does not carry the date and time of "
               "Setup.\n"},
        {1024, "Invalid destination folder"},
        {1025, "Setup is already running"},
        {1026, "Installing"},
        {1029, "Please wait a moment while the Arcwell Shell Extension is unloaded."},
        {1030, "Can't create output file: %s"},
        {1031, "Can't open input file: %s"},
        {1032, "unknown compression"},
        {1033, "ZIP damaged: file %s: Bad CRC %08lx (should be %08lx)"},
        {1034, "Invalid Zipfile Header"},
        {1035, "Insufficient memory"},
        {1036, "Error writing to %s.  Possible cause: disk full"},
        {1037, "Error reading %s.  Possible cause: bad disk"},
        {1039, "!The Arcwell Shell Extension could not be unloaded, so Setup cannot replace "
               "it.\n\n"},
        {1040, "!Setup can remove the Shell Extension's registration now. You then have to "
               "log out and in again (or restart the computer) "},
        {1041, "!and run Setup once more.\n\n"},
        {1042, "Remove the Shell Extension's registration?"},
        {1044, "!The Arcwell File Manager extension could not be unloaded.\n"},
        {1045, "Please close File Manager and run Setup again."},
        {1046, "!The Arcwell Shell Extension's registration has been removed.\n"},
        {1047, "!Please log out and in again (or restart the computer), "},
        {1048, "then run Setup again."},
    };
    return entries;
}

} // namespace

QString SetupStrings::text(int id)
{
    QString result;
    for (int current = id;; ++current) {
        const auto found = table().find(current);
        if (found == table().end())
            return QStringLiteral("Internal error: string resource not found: %1").arg(current);
        QString part = QString::fromUtf8(found->second);
        const bool continued = part.startsWith(QLatin1Char('!'));
        if (continued)
            part.remove(0, 1);
        result += part;
        if (result.size() > MaximumLength)
            return QStringLiteral("Internal error: string resource too long: %1").arg(id);
        if (!continued)
            return result;
    }
}

QString SetupStrings::fill(const QString &pattern, const QStringList &args)
{
    QString result;
    int next = 0;
    for (qsizetype i = 0; i < pattern.size(); ++i) {
        const QChar c = pattern.at(i);
        if (c != QLatin1Char('%') || i + 1 >= pattern.size()) {
            result += c;
            continue;
        }
        if (pattern.at(i + 1) == QLatin1Char('%')) {
            result += QLatin1Char('%');
            ++i;
            continue;
        }
        // A conversion: optional flags and width, optional "l", then the letter. The
        // caller has already turned each argument into its text; only zero padding to the
        // width is applied here.
        qsizetype j = i + 1;
        const bool zeroPad = j < pattern.size() && pattern.at(j) == QLatin1Char('0');
        int width = 0;
        while (j < pattern.size() && pattern.at(j).isDigit())
            width = width * 10 + pattern.at(j++).digitValue();
        while (j < pattern.size() && pattern.at(j) == QLatin1Char('l'))
            ++j;
        if (j >= pattern.size()) {
            result += pattern.mid(i);
            break;
        }
        QString arg = next < args.size() ? args.at(next) : QString();
        ++next;
        if (arg.size() < width)
            arg = QString(width - arg.size(), zeroPad ? QLatin1Char('0') : QLatin1Char(' ')) + arg;
        result += arg;
        i = j;
    }
    return result;
}

QString SetupStrings::format(int id, const QStringList &args)
{
    return fill(text(id), args);
}

} // namespace Orbisong
