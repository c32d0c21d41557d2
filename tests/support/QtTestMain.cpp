// main() of the Qt test programs: they run offscreen unless told otherwise, with the editor's
// dialog font, so that test discovery at build time needs no display.
#include <gtest/gtest.h>

#include <QApplication>

#include "dialogkit/App.h"

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    ::testing::InitGoogleTest(&argc, argv);
    QApplication application(argc, argv);
    vorlane::dk::applyDialogFont();
    return RUN_ALL_TESTS();
}
