#include "TestHome.h"

TestHome::TestHome()
    : m_previous(qgetenv("ORBISONG_HOME"))
{
    qputenv("ORBISONG_HOME", m_dir.path().toLocal8Bit());
}

TestHome::~TestHome()
{
    if (m_previous.isEmpty())
        qunsetenv("ORBISONG_HOME");
    else
        qputenv("ORBISONG_HOME", m_previous);
}

QString TestHome::binaryDir()
{
    return qEnvironmentVariable("ORBISONG_BINARY_DIR", QStringLiteral(ORBISONG_TEST_BINARY_DIR));
}

QString TestHome::sourceDir()
{
    return qEnvironmentVariable("ORBISONG_SOURCE_DIR", QStringLiteral(ORBISONG_TEST_SOURCE_DIR));
}

QString TestHome::program(const QString &name)
{
    return binaryDir() + QStringLiteral("/bin/") + name;
}
