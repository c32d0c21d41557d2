// The main() of a paint benchmark: Qt offscreen unless told otherwise, the dialog font, and one
// `Fixture` (the dialog under test) alive while the benchmarks run, reachable through `current`.
#pragma once

#include <benchmark/benchmark.h>

#include <QApplication>

#include "dialogkit/App.h"

namespace vorlane::bench {

template <typename Fixture>
int offscreenBenchmarkMain(int argc, char** argv, Fixture*& current) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    benchmark::Initialize(&argc, argv);
    QApplication application(argc, argv);
    dk::applyDialogFont();
    {
        Fixture fixture;
        current = &fixture;
        benchmark::RunSpecifiedBenchmarks();
        current = nullptr;
    }
    benchmark::Shutdown();
    return 0;
}

}  // namespace vorlane::bench
