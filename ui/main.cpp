#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "ui/EditorApp.h"

namespace {
vorlane::CEditorApp theApp;
}

int main(int argc, char** argv) {
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--version") == 0) {
            std::fputs(vorlane::versionText().c_str(), stdout);
            return 0;
        }
        if (std::strcmp(argv[i], "--help") == 0 || std::strcmp(argv[i], "-h") == 0) {
            std::fputs(vorlane::usageText().c_str(), stdout);
            return 0;
        }
    }
    const char* probe = std::getenv("VORLANE_BENCH_FIRST_PAINT");
    theApp.m_firstPaintProbe = probe != nullptr && probe[0] != '\0' && probe[0] != '0';
    return theApp.Run(argc, argv);
}
