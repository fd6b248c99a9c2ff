// The app tests take the path of vantrel.exe as their one argument.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstdio>

#include "program_driver.h"
#include "vantrel/win/owned.h"

int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s PATH-TO-vantrel.exe [gtest options]\n", argv[0]);
        return 2;
    }
    vantrel::testing::set_program_path(argv[1]);
    const vantrel::ComApartment ole(vantrel::ComApartment::Kind::ole);
    return RUN_ALL_TESTS();
}
