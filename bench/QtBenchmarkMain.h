#pragma once

#include <QtGlobal>
#include <benchmark/benchmark.h>

// Google Benchmark's main inside a Qt application object, for code that needs an event loop, a
// plugin (the SQL driver) or the font database. Windows are drawn offscreen unless told otherwise.
#define TESSMARK_BENCHMARK_MAIN(Application)                                                                           \
    int main(int argc, char **argv)                                                                                    \
    {                                                                                                                  \
        if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))                                                            \
            qputenv("QT_QPA_PLATFORM", "offscreen");                                                                   \
        Application app(argc, argv);                                                                                   \
        benchmark::Initialize(&argc, argv);                                                                            \
        benchmark::RunSpecifiedBenchmarks();                                                                           \
        benchmark::Shutdown();                                                                                         \
        return 0;                                                                                                      \
    }
