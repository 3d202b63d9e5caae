#include <QApplication>

#include <gtest/gtest.h>

// Every test program runs with a QApplication on the offscreen platform unless told otherwise.
int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    // Test programs live apart from the built programs, so the image probe is not beside them.
    if (qEnvironmentVariableIsEmpty("ORBISONG_IMAGE_PROBE"))
        qputenv("ORBISONG_IMAGE_PROBE", ORBISONG_TEST_BINARY_DIR "/bin/orbisong-image-probe");
    ::testing::InitGoogleTest(&argc, argv);
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("orbisong-tests"));
    return RUN_ALL_TESTS();
}
