#pragma once

#include <QString>
#include <QTemporaryDir>

// A fresh data folder for one test: sets $ORBISONG_HOME while it lives.
class TestHome
{
public:
    TestHome();
    ~TestHome();

    QString path() const { return m_dir.path(); }
    QString file(const QString &name) const { return m_dir.filePath(name); }

    // The folder of the built programs and of the source tree.
    static QString binaryDir();
    static QString sourceDir();
    static QString program(const QString &name);

private:
    QTemporaryDir m_dir;
    QByteArray m_previous;
};
