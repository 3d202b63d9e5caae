// A window with one focused line edit for typing tests. Prints "READY" once the line edit
// has the keyboard focus, then "TEXT:<text>" when Enter is pressed or after a time-out.

#include <QApplication>
#include <QLineEdit>
#include <QTimer>
#include <QVBoxLayout>
#include <QWidget>

#include <cstdio>

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    QWidget window;
    auto *edit = new QLineEdit(&window);
    auto *layout = new QVBoxLayout(&window);
    layout->addWidget(edit);
    window.resize(300, 60);
    window.show();
    window.activateWindow();
    edit->setFocus();

    auto finish = [edit](int code) {
        std::printf("TEXT:%s\n", edit->text().toUtf8().constData());
        std::fflush(stdout);
        QApplication::exit(code);
    };
    QObject::connect(edit, &QLineEdit::returnPressed, [&] { finish(0); });

    QTimer readyPoll;
    QObject::connect(&readyPoll, &QTimer::timeout, [&] {
        if (window.isActiveWindow() && QApplication::focusWidget() == edit) {
            readyPoll.stop();
            std::printf("READY\n");
            std::fflush(stdout);
        } else {
            window.activateWindow();
        }
    });
    readyPoll.start(50);

    QTimer::singleShot(20000, [&] { finish(1); });
    return app.exec();
}
