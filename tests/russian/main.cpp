#include <gtest/gtest.h>

#include <QApplication>
#include <QDir>
#include <QTemporaryDir>
#include <cstdlib>

// The whole process runs as a Russian user's session would: the locale comes from the
// environment before the application reads it.
int main(int argc, char** argv) {
    if (std::getenv("QT_QPA_PLATFORM") == nullptr) {
        setenv("QT_QPA_PLATFORM", "offscreen", 1);
    }
    QTemporaryDir runtimeDir(QDir::tempPath() + "/arraypattern-russian-tests-XXXXXX");
    QFile::setPermissions(runtimeDir.path(),
                          QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    setenv("XDG_RUNTIME_DIR", runtimeDir.path().toLocal8Bit().constData(), 1);
    setenv("LC_ALL", "ru_RU.UTF-8", 1);
    unsetenv("LANGUAGE");

    testing::InitGoogleTest(&argc, argv);
    QApplication app(argc, argv);
    return RUN_ALL_TESTS();
}
