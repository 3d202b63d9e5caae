#include "TestHome.h"
#include "VirtualDisplay.h"

#include "ks32.h"

#include <QDeadlineTimer>
#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <memory>

#include <dlfcn.h>
#include <unistd.h>

namespace {

// The window under test, on the virtual display.
class TestWindow
{
public:
    explicit TestWindow(const QString &display)
    {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("DISPLAY"), display);
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));
        m_process.setProcessEnvironment(env);
        m_process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        m_process.start(TestHome::binaryDir() + QStringLiteral("/tests/ks32_testwindow"));
    }
    ~TestWindow()
    {
        m_process.kill();
        m_process.waitForFinished(5000);
    }

    // Waits for a line that starts with prefix and returns its rest.
    std::optional<QByteArray> waitForLine(const QByteArray &prefix, int timeoutMs)
    {
        QDeadlineTimer deadline(timeoutMs);
        while (!deadline.hasExpired()) {
            while (m_process.canReadLine()) {
                const QByteArray line = m_process.readLine().trimmed();
                if (line.startsWith(prefix))
                    return line.mid(prefix.size());
            }
            if (m_process.state() == QProcess::NotRunning && !m_process.canReadLine())
                return std::nullopt;
            m_process.waitForReadyRead(100);
        }
        return std::nullopt;
    }

private:
    QProcess m_process;
};

// The library as its callers see it: loaded by name, functions looked up.
struct Ks32Library
{
    Ks32Library()
    {
        // Each test program keeps its own lock so parallel test runs do not refuse each other.
        static QTemporaryDir runtime;
        qputenv("XDG_RUNTIME_DIR", runtime.path().toUtf8());
        const QByteArray path =
            (TestHome::binaryDir() + QStringLiteral("/lib/libks32.so")).toUtf8();
        handle = dlopen(path.constData(), RTLD_NOW);
        if (!handle)
            return;
        sendKeys = reinterpret_cast<int (*)(const char *)>(dlsym(handle, "SendKeys"));
        keysPlaying = reinterpret_cast<int (*)()>(dlsym(handle, "KeysPlaying"));
        quitSendKeys = reinterpret_cast<void (*)()>(dlsym(handle, "QuitSendKeys"));
    }
    ~Ks32Library()
    {
        if (quitSendKeys)
            quitSendKeys();
    }

    void *handle = nullptr;
    int (*sendKeys)(const char *) = nullptr;
    int (*keysPlaying)() = nullptr;
    void (*quitSendKeys)() = nullptr;
};

// A virtual display with the test window waiting for keys, and the library loaded to type
// into it.
class ks32OnXvfb : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_FALSE(m_display.name().isEmpty()) << "Xvfb did not start";
        m_window = std::make_unique<TestWindow>(m_display.name());
        ASSERT_TRUE(m_window->waitForLine("READY", 30000)) << "the line edit never got the focus";
        m_library = std::make_unique<Ks32Library>();
        ASSERT_NE(m_library->handle, nullptr) << dlerror();
        ASSERT_TRUE(m_library->sendKeys && m_library->keysPlaying && m_library->quitSendKeys);
        qputenv("DISPLAY", m_display.name().toUtf8());
    }

    VirtualDisplay m_display;
    std::unique_ptr<TestWindow> m_window;
    std::unique_ptr<Ks32Library> m_library;
};

struct SendResult
{
    int exitCode;
    QByteArray errors;
};

SendResult runKs32Send(const QProcessEnvironment &env, const QString &text)
{
    QProcess send;
    send.setProcessEnvironment(env);
    send.start(TestHome::program(QStringLiteral("ks32send")),
               {QStringLiteral("--delay"), QStringLiteral("0"), text});
    if (!send.waitForFinished(10000)) {
        send.kill();
        send.waitForFinished(2000);
        return {-1, {}};
    }
    return {send.exitCode(), send.readAllStandardError()};
}

} // namespace

TEST_F(ks32OnXvfb, TypesIntoTheFocusedLineEdit)
{
    Ks32Library &library = *m_library;
    TestWindow &window = *m_window;
    ASSERT_EQ(library.sendKeys("\"Hello\" SHIFT-\"w\" \"orld\" ENTER") & 0xFF, KS32_QUEUED);

    const std::optional<QByteArray> text = window.waitForLine("TEXT:", 15000);
    ASSERT_TRUE(text);
    EXPECT_EQ(*text, QByteArray("HelloWorld"));
    QDeadlineTimer deadline(5000);
    while (library.keysPlaying() && !deadline.hasExpired())
        usleep(10000);
    EXPECT_EQ(library.keysPlaying(), 0);
}

TEST_F(ks32OnXvfb, ANewSendReleasesTheModifiersOfTheOneItStops)
{
    Ks32Library &library = *m_library;
    TestWindow &window = *m_window;
    // SHIFT stays down through the long pause; the second call cuts the pause short.
    ASSERT_EQ(library.sendKeys("SHIFT-(x /W 200 y)") & 0xFF, KS32_QUEUED);
    usleep(200000);
    EXPECT_EQ(library.keysPlaying(), 1);
    ASSERT_EQ(library.sendKeys("\"b\" ENTER") & 0xFF, KS32_QUEUED);

    const std::optional<QByteArray> text = window.waitForLine("TEXT:", 15000);
    ASSERT_TRUE(text);
    // The X may or may not have arrived before the stop; the b must come unshifted.
    EXPECT_TRUE(*text == "Xb" || *text == "b") << text->constData();
    library.quitSendKeys();
    EXPECT_EQ(library.keysPlaying(), 0);
}

TEST(ks32Xvfb, RefusesWithoutADisplayAndWhileAnotherProcessUsesIt)
{
    QTemporaryDir runtime;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("XDG_RUNTIME_DIR"), runtime.path());
    env.remove(QStringLiteral("DISPLAY"));

    const SendResult noDisplay = runKs32Send(env, QStringLiteral("\"a\""));
    EXPECT_EQ(noDisplay.exitCode, KS32_NO_PLAYBACK);
    EXPECT_FALSE(noDisplay.errors.contains("in use by process")) << noDisplay.errors.constData();

    // This process takes the library; the next process is refused and told who holds it.
    Ks32Library library;
    ASSERT_NE(library.handle, nullptr) << dlerror();
    const QByteArray savedDisplay = qgetenv("DISPLAY");
    qunsetenv("DISPLAY");
    library.sendKeys("");
    if (!savedDisplay.isEmpty())
        qputenv("DISPLAY", savedDisplay);

    env.insert(QStringLiteral("XDG_RUNTIME_DIR"), qEnvironmentVariable("XDG_RUNTIME_DIR"));
    const SendResult refused = runKs32Send(env, QStringLiteral("\"a\""));
    EXPECT_EQ(refused.exitCode, KS32_NO_PLAYBACK);
    EXPECT_TRUE(refused.errors.contains("in use by process " + QByteArray::number(getpid())))
        << refused.errors.constData();
}
