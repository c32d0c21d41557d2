#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "dialogkit/App.h"
#include "ui/EditorApp.h"

namespace {
vorlane::CEditorApp theApp;

#ifndef _WIN32
bool isSet(const char* name) {
    const char* value = std::getenv(name);
    return value != nullptr && value[0] != '\0';
}

// Without a display Qt's default platform aborts and suggests reinstalling the program, which
// sends a user on a console the wrong way. A platform the user chose (offscreen, vnc, ...) is
// Qt's to judge.
bool noDisplayToOpen(int argc, char** argv) {
    if (isSet("QT_QPA_PLATFORM") || isSet("DISPLAY") || isSet("WAYLAND_DISPLAY")) {
        return false;
    }
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "-platform") == 0 || std::strcmp(argv[i], "--platform") == 0) {
            return false;
        }
    }
    return true;
}
#endif
}  // namespace

int main(int argc, char** argv) {
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--version") == 0) {
            vorlane::dk::showCommandLineText(vorlane::versionText(), false);
            return 0;
        }
        if (std::strcmp(argv[i], "--help") == 0 || std::strcmp(argv[i], "-h") == 0) {
            vorlane::dk::showCommandLineText(vorlane::usageText(), false);
            return 0;
        }
    }
#ifndef _WIN32
    if (noDisplayToOpen(argc, argv)) {
        std::fputs(vorlane::noDisplayText().c_str(), stderr);
        return 1;
    }
#endif
    const char* probe = std::getenv("VORLANE_BENCH_FIRST_PAINT");
    theApp.m_firstPaintProbe = probe != nullptr && probe[0] != '\0' && probe[0] != '0';
    return theApp.Run(argc, argv);
}
