// The main of every GoogleTest program of ours.
#include <gtest/gtest.h>

#include "console_printer.h"

int main(int argc, char** argv)
{
    testing::InitGoogleTest(&argc, argv);
    testing_support::UseConsolePrinter();
    return RUN_ALL_TESTS();
}
