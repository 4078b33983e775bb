// One libFuzzer target; FUZZ_TARGET names the entry point of FuzzTargets.
#include "FuzzTargets.h"

#include <QCoreApplication>

#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static int argc = 1;
    static char name[] = "fuzz";
    static char* argv[] = {name, nullptr};
    static QCoreApplication app(argc, argv);
    static const FuzzTargets::Target* target = FuzzTargets::find(FUZZ_TARGET);
    if (!target)
        std::abort();
    target->run(data, size);
    return 0;
}
