#include "TGrabvidFrame.h"

#include <QApplication>
#include <QDir>

#include <cstring>

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Grabvid"));
    QApplication::setApplicationVersion(QStringLiteral(GRABVID_VERSION));

    Orbisong::GrabvidOptions options;
    options.folder = QDir::currentPath();
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--no-test-source") == 0)
            options.withTestSource = false;
    }
    Orbisong::TGrabvidFrame frame(options);
    frame.show();
    frame.startUp();
    return app.exec();
}
