// libFuzzer program for the report engine's template reader and expression evaluator.

#include "engine_fuzz_entry.h"

#include <QGuiApplication>

#include <cstdlib>

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv)
{
    // Preparing measures text, which needs a GUI application; no screen is used.
    setenv("QT_QPA_PLATFORM", "offscreen", 1);
    static QGuiApplication app(*argc, *argv);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    return enginefuzz::runOne(data, size);
}
