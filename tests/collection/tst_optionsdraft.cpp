// The rules of the Options window's values: intro checks, limits, the server typed with its
// port, and that only the window's own option bits are taken over.

#include "base/HostPort.h"
#include "collection/OptionsDraft.h"

#include <QLocale>

#include <gtest/gtest.h>

using namespace Orbisong;

namespace {

Settings defaults()
{
    return Settings::defaults(QStringLiteral("/tmp"), QStringLiteral("ann"), {});
}

} // namespace

TEST(OptionsDraft, IntroValuesOfEachFormAreCheckedWhateverTheLocale)
{
    // A locale with a decimal comma must not change how "0.25" reads.
    const QLocale previous;
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    for (const char *good : {"0:20", "1:00", "0:1", " 0:05 ", "1/4", "3/4", "0.25", ".5", "0.999"})
        EXPECT_TRUE(OptionsDraft::introValueValid(QLatin1String(good))) << good;
    for (const char *bad : {"0:00", "0:0", "4/4", "5/4", "0/4", "1/0", "-1/4", "0", "0.0", "1",
                            "1.5", "-0.25", "0,25", "1e-1", "", "abc", "a:10", "1/x"})
        EXPECT_FALSE(OptionsDraft::introValueValid(QLatin1String(bad))) << bad;
    QLocale::setDefault(previous);
}

TEST(OptionsDraft, RefusedIntroValueFallsBackToTheDefault)
{
    Settings s = defaults();
    EXPECT_EQ(s.introValue, QStringLiteral("0:20"));
    OptionsDraft d = OptionsDraft::fromSettings(s);
    d.introValue = QStringLiteral(" 1/4 ");
    EXPECT_TRUE(d.applyTo(s));
    EXPECT_EQ(s.introValue, QStringLiteral("1/4"));
    d.introValue = QStringLiteral("0:00");
    EXPECT_FALSE(d.applyTo(s));
    EXPECT_EQ(s.introValue, QStringLiteral("0:20"));
}

TEST(OptionsDraft, RecentInsertsAreHeldWithinTheirRange)
{
    EXPECT_EQ(OptionsDraft::recentInsertsFrom(QStringLiteral("25"), 10), 25);
    EXPECT_EQ(OptionsDraft::recentInsertsFrom(QStringLiteral("5000"), 10), 1000);
    EXPECT_EQ(OptionsDraft::recentInsertsFrom(QStringLiteral("99999999999"), 10), 1000);
    EXPECT_EQ(OptionsDraft::recentInsertsFrom(QStringLiteral("-3"), 10), 0);
    EXPECT_EQ(OptionsDraft::recentInsertsFrom(QStringLiteral("many"), 10), 10);
    EXPECT_EQ(OptionsDraft::recentInsertsFrom(QStringLiteral("many"), 4000), 1000);
}

TEST(OptionsDraft, ServerTypedWithItsPortIsSplit)
{
    EXPECT_EQ(HostPort::split(QStringLiteral("cddb.example:8880")).host,
              QStringLiteral("cddb.example"));
    EXPECT_EQ(HostPort::split(QStringLiteral("cddb.example:8880")).port, QStringLiteral("8880"));
    const HostPort web = HostPort::split(QStringLiteral("http://cddb.example:8080/~cddb/cddb.cgi"));
    EXPECT_EQ(web.host, QStringLiteral("http://cddb.example/~cddb/cddb.cgi"));
    EXPECT_EQ(web.port, QStringLiteral("8080"));
    for (const char *kept : {"cddb.example", "cddb.example:", "cddb.example:http", "::1",
                             "cddb.example:99999", "host/path:80"}) {
        EXPECT_EQ(HostPort::split(QLatin1String(kept)).host, QLatin1String(kept)) << kept;
        EXPECT_TRUE(HostPort::split(QLatin1String(kept)).port.isEmpty()) << kept;
    }

    Settings s = defaults();
    OptionsDraft d = OptionsDraft::fromSettings(s);
    d.cddbServer = QStringLiteral("cddb.example:8880");
    d.cddbPort = QStringLiteral("888");
    d.applyTo(s);
    EXPECT_EQ(s.cddbServer, QStringLiteral("cddb.example"));
    EXPECT_EQ(s.cddbPort, QStringLiteral("8880"));
}

TEST(OptionsDraft, OnlyTheWindowsOwnBitsAreTakenOver)
{
    Settings s = defaults();
    s.SetOptionFlag(_GLOB_OPTION_WASMINIMIZED, true);
    OptionsDraft d = OptionsDraft::fromSettings(s);
    for (int bit = 0; bit < 128; ++bit)
        d.setFlag(bit, false);
    d.setFlag(_GLOB_OPTION_TRAYNEXT, true);
    d.applyTo(s);
    EXPECT_TRUE(s.GetOptionFlag(_GLOB_OPTION_WASMINIMIZED));
    EXPECT_TRUE(s.GetOptionFlag(_GLOB_OPTION_DEFAULTS_MARK));
    EXPECT_TRUE(s.GetOptionFlag(_GLOB_OPTION_TRAYNEXT));
    EXPECT_FALSE(s.GetOptionFlag(_GLOB_OPTION_SHOWHINTS));
}

TEST(OptionsDraft, ProtocolIsReadAsOneOfTwo)
{
    EXPECT_EQ(OptionsDraft::protocolFor(QStringLiteral("http"), QStringLiteral("80")),
              QStringLiteral("HTTP"));
    EXPECT_EQ(OptionsDraft::protocolFor(QStringLiteral("HTTP"), QStringLiteral("888")),
              QStringLiteral("CDDBP"));
    EXPECT_EQ(OptionsDraft::protocolFor(QStringLiteral("https"), QStringLiteral("443")),
              QStringLiteral("CDDBP"));
}
