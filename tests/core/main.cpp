#include <gtest/gtest.h>

#include <clocale>

int main(int argc, char** argv) {
    // The window's process runs under the user's locale; the core must not depend on it.
    std::setlocale(LC_ALL, "");
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
