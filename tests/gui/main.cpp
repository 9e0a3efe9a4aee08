#include <gtest/gtest.h>

#include <QApplication>
#include <QDir>
#include <QFontDatabase>
#include <QTemporaryDir>
#include <cstdlib>

namespace {

// The window's texts and digits are measured and drawn in Liberation Sans; without it every
// layout and picture test would fail on some unrelated width or pixel.
class TFontEnvironment : public testing::Environment {
  public:
    void SetUp() override {
        ASSERT_TRUE(QFontDatabase::families().contains(QStringLiteral("Liberation Sans")))
            << "the Liberation Sans font is missing: install the package fonts-liberation2 "
               "(scripts/install-deps.sh does)";
    }
};

}  // namespace

int main(int argc, char** argv) {
    if (std::getenv("QT_QPA_PLATFORM") == nullptr) {
        setenv("QT_QPA_PLATFORM", "offscreen", 1);
    }
    QTemporaryDir runtimeDir(QDir::tempPath() + "/arraypattern-gui-tests-XXXXXX");
    QFile::setPermissions(runtimeDir.path(),
                          QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    setenv("XDG_RUNTIME_DIR", runtimeDir.path().toLocal8Bit().constData(), 1);
    // Every run starts from empty settings (the studio's panel layout), never the user's.
    setenv("XDG_CONFIG_HOME", runtimeDir.path().toLocal8Bit().constData(), 1);

    testing::InitGoogleTest(&argc, argv);
    QApplication app(argc, argv);
    testing::AddGlobalTestEnvironment(new TFontEnvironment);
    return RUN_ALL_TESTS();
}
