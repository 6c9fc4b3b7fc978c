// The core tests' main. The process takes the locale its environment names,
// as the window does at start, so that a run under a locale with a decimal
// comma shows any output that would change with it.
#include <gtest/gtest.h>

#include <clocale>

int main(int argc, char** argv)
{
    std::setlocale(LC_ALL, "");
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
