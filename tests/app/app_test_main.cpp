// The shell's test program: one QApplication for every test, set up the way
// the program sets itself up (shared GL contexts for the web engine, the "C"
// numeric locale that mpv requires).
#include <gtest/gtest.h>

#include <QApplication>
#include <clocale>

int main(int argc, char** argv) {
    testing::InitGoogleTest(&argc, argv);
    // What the test registration sets, so the program also runs by hand
    // (as root the web engine's sandbox cannot start).
    if (!qEnvironmentVariableIsSet("QTWEBENGINE_DISABLE_SANDBOX")) qputenv("QTWEBENGINE_DISABLE_SANDBOX", "1");
    if (!qEnvironmentVariableIsSet("QTWEBENGINE_CHROMIUM_FLAGS"))
        qputenv("QTWEBENGINE_CHROMIUM_FLAGS", "--no-sandbox --disable-gpu");
    if (!qEnvironmentVariableIsSet("LIBGL_ALWAYS_SOFTWARE")) qputenv("LIBGL_ALWAYS_SOFTWARE", "1");
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    QApplication app(argc, argv);
    std::setlocale(LC_NUMERIC, "C");
    return RUN_ALL_TESTS();
}
