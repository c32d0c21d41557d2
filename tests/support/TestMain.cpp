// main() of the test programs that drive the kit's windows: the backend's application with the
// editor's dialog font, drawing offscreen unless told otherwise, so that test discovery at build
// time needs no display.
#include <gtest/gtest.h>

#include "dialogkit/TestDriver.h"

int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    vorlane::dk::driver::TestApplication application(argc, argv);
    return RUN_ALL_TESTS();
}
