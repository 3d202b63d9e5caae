#include "DesktopWindows.h"
#include "InstallDiskFixture.h"
#include "SetupStrings.h"
#include "TDestinationDialog.h"
#include "TestHome.h"
#include "TMeter.h"
#include "TProgressDialog.h"
#include "VirtualDisplay.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QFileInfo>
#include <QLineEdit>
#include <QPalette>
#include <QProcess>
#include <QProcessEnvironment>
#include <QPushButton>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QThread>

#include <gtest/gtest.h>

#include <memory>

// Xlib's macros (None, Bool, Status) clash with names in the headers above, so it comes last.
#include <X11/Xlib.h>
#include <X11/Xutil.h>

using namespace Orbisong;

namespace {

TEST(setupMeter, PaintsThePositionAsAPercentageOfTheRange)
{
    TMeter meter;
    QPalette palette = meter.palette();
    palette.setColor(QPalette::Base, Qt::white);
    palette.setColor(QPalette::Highlight, Qt::blue);
    meter.setPalette(palette);
    meter.resize(200, meter.sizeHint().height());
    // A row above the centred text: filled up to the position, empty after it.
    const auto filledAt = [&meter](int x) {
        return meter.grab().toImage().pixelColor(x, 2) == QColor(Qt::blue);
    };
    meter.setRange(200);
    meter.setPosition(50);
    EXPECT_EQ(meter.text(), QStringLiteral("25%"));
    EXPECT_TRUE(filledAt(20));
    EXPECT_TRUE(filledAt(45));
    EXPECT_FALSE(filledAt(55));
    EXPECT_FALSE(filledAt(180));
    meter.setPosition(500);
    EXPECT_EQ(meter.text(), QStringLiteral("100%"));
    EXPECT_TRUE(filledAt(180));
    meter.setRange(0);
    meter.setPosition(0);
    EXPECT_EQ(meter.text(), QStringLiteral("0%"));
    EXPECT_FALSE(filledAt(20));
}

TEST(setupProgressDialog, CountsTensOfKilobytesAndConfirmsCancel)
{
    bool confirm = false;
    int asked = 0;
    TProgressDialog dialog(QStringLiteral("Installing"), 1024 * 1024, [&] {
        ++asked;
        return confirm;
    });
    dialog.show();
    EXPECT_TRUE(dialog.advance(512 * 1024));
    EXPECT_EQ(dialog.meter()->text(), QStringLiteral("50%"));
    dialog.cancelButton()->click();
    EXPECT_EQ(asked, 1);
    EXPECT_TRUE(dialog.advance(1));
    confirm = true;
    dialog.cancelButton()->click();
    EXPECT_EQ(asked, 2);
    EXPECT_FALSE(dialog.advance(1));
    EXPECT_TRUE(dialog.isVisible());
}

TEST(setupDestinationDialog, OkNeedsTextAndItsHandlerDecidesWhetherTheDialogCloses)
{
    QStringList offered;
    InstallerUi::Verdict verdict = InstallerUi::Verdict::StayOpen;
    TDestinationDialog dialog(QStringLiteral("Arcwell Setup"), QStringLiteral("/home/u/Arcwell"),
                              [&](const QString &text) {
                                  offered << text;
                                  return verdict;
                              });
    dialog.show();
    EXPECT_EQ(dialog.folderEdit()->maxLength(), 259);
    EXPECT_TRUE(dialog.okButton()->isEnabled());
    dialog.folderEdit()->clear();
    EXPECT_FALSE(dialog.okButton()->isEnabled());
    dialog.folderEdit()->setText(QStringLiteral("elsewhere"));
    dialog.okButton()->click();
    EXPECT_TRUE(dialog.isVisible());
    verdict = InstallerUi::Verdict::Close;
    dialog.okButton()->click();
    EXPECT_FALSE(dialog.isVisible());
    EXPECT_EQ(dialog.outcome(), InstallerUi::DestinationResult::Accepted);
    EXPECT_EQ(offered, QStringList({QStringLiteral("elsewhere"), QStringLiteral("elsewhere")}));

    TDestinationDialog cancelled(QStringLiteral("Arcwell Setup"), QString(),
                                 [](const QString &) { return InstallerUi::Verdict::Close; });
    cancelled.show();
    EXPECT_FALSE(cancelled.okButton()->isEnabled());
    cancelled.cancelButton()->click();
    EXPECT_EQ(cancelled.outcome(), InstallerUi::DestinationResult::Cancelled);
}

// A private X server with one window of the product's class.
class setupDesktop : public ::testing::Test
{
protected:
    void SetUp() override
    {
        if (QStandardPaths::findExecutable(QStringLiteral("Xvfb")).isEmpty())
            GTEST_SKIP() << "Xvfb is not available";
        m_server = std::make_unique<VirtualDisplay>(QStringLiteral("320x240x24"));
        m_name = m_server->name().toLatin1();
        ASSERT_FALSE(m_name.isEmpty()) << "Xvfb did not start";
        m_display = XOpenDisplay(m_name.constData());
        ASSERT_NE(m_display, nullptr);
        m_previous = qgetenv("DISPLAY");
        qputenv("DISPLAY", m_name);
    }

    void TearDown() override
    {
        if (m_display) {
            XCloseDisplay(m_display);
            qputenv("DISPLAY", m_previous);
        }
        m_server.reset();
    }

    void createWindow(const char *className)
    {
        const Window window =
            XCreateSimpleWindow(m_display, DefaultRootWindow(m_display), 0, 0, 50, 50, 0, 0, 0);
        XClassHint hint{};
        QByteArray instance("arcwell");
        QByteArray klass(className);
        hint.res_name = instance.data();
        hint.res_class = klass.data();
        XSetClassHint(m_display, window, &hint);
        XMapWindow(m_display, window);
        XSync(m_display, False);
    }

    std::unique_ptr<VirtualDisplay> m_server;
    Display *m_display = nullptr;
    QByteArray m_name;
    QByteArray m_previous;
};

TEST_F(setupDesktop, FindsTopLevelWindowsByClass)
{
    EXPECT_FALSE(desktopWindowExists(QStringLiteral("ArcwellWClass")));
    createWindow("ArcwellWClass");
    EXPECT_TRUE(desktopWindowExists(QStringLiteral("ArcwellWClass")));
    EXPECT_FALSE(desktopWindowExists(QStringLiteral("Arcwell2WClass")));
    EXPECT_FALSE(desktopWindowExists(QStringLiteral("arcwellwclass")));
}

TEST_F(setupDesktop, SetupRefusesToRunBesideTheProduct)
{
    QTemporaryDir root;
    InstallDiskFixture disk(root.filePath(QStringLiteral("disk")),
                            TestHome::program(QStringLiteral("setup")),
                            root.filePath(QStringLiteral("record.txt")));
    ASSERT_TRUE(disk.build());
    createWindow("Arcwell2WClass");
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("DISPLAY"), QString::fromLatin1(m_name));
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    env.insert(QStringLiteral("HOME"), root.path());
    env.insert(QStringLiteral("TMPDIR"), root.path());
    env.insert(QStringLiteral("ARCWELL_PLATFORM_DIR"), root.path());
    env.insert(QStringLiteral("ARCWELL_SETUP_TEST_LOG"), root.filePath(QStringLiteral("log.txt")));
    env.insert(QStringLiteral("ARCWELL_SETUP_TEST_DESTINATIONS"), QStringLiteral("~/Arcwell"));
    QProcess setup;
    setup.setProcessEnvironment(env);
    setup.start(disk.setupPath(), {});
    ASSERT_TRUE(setup.waitForFinished(30000));
    EXPECT_EQ(setup.exitCode(), 1);
    QFile log(root.filePath(QStringLiteral("log.txt")));
    ASSERT_TRUE(log.open(QIODevice::ReadOnly));
    EXPECT_EQ(QString::fromUtf8(log.readAll()),
              QStringLiteral("Arcwell Setup\t") + SetupStrings::text(1022) + QLatin1Char('\n'));
    EXPECT_FALSE(QFileInfo::exists(root.filePath(QStringLiteral("Arcwell"))));
}

} // namespace
