// One application object for the benchmarks that need Qt: a GUI one, so that OpenGL can
// be had, on the offscreen platform unless another is chosen.
#pragma once

#include <memory>

#include <QGuiApplication>

inline void EnsureBenchApplication()
{
    if (QCoreApplication::instance()) return;
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    static int argc = 1;
    static char name[] = "polydrom_bench";
    static char* argv[] = {name, nullptr};
    static std::unique_ptr<QGuiApplication> app = std::make_unique<QGuiApplication>(argc, argv);
}
