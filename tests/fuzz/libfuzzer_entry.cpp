// SPDX-License-Identifier: GPL-3.0-or-later
// libFuzzer's entry points for one fuzz target, named at compile time by
// MIRAVELLON_FUZZ_TARGET. A failed property ends the run like a crash.

#include "tests/fuzz/fuzztargets.h"

#include "windows/resources.h"

#include <QApplication>
#include <QLoggingCategory>
#include <QStyleFactory>

#include <cstdio>
#include <cstdlib>

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    // The window target needs an application; libFuzzer's own flags are not
    // handed to it.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    static int argc = 1;
    static char name[] = "fuzzer";
    static char* argv[] = {name, nullptr};
    // Never destroyed: at exit Qt's own globals go first, and a QApplication
    // destroyed after them crashes.
    static const auto* app = new QApplication(argc, argv);
    Q_UNUSED(app);
    QApplication::setStyle(QStyleFactory::create(QStringLiteral("Fusion")));
    QApplication::setQuitOnLastWindowClosed(false);
    initFormResources();
    // The program's diagnostics on every input would drown libFuzzer's own.
    QLoggingCategory::setFilterRules(QStringLiteral("*.debug=false\n*.info=false\n*.warning=false"));
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    try {
        fuzz::MIRAVELLON_FUZZ_TARGET(data, size);
    } catch (const fuzz::PropertyFailure& failure) {
        std::fprintf(stderr, "property failed: %s\n", failure.what());
        std::abort();
    }
    return 0;
}
