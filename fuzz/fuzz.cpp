// One libFuzzer target for every export: the input's first byte picks the
// check, the rest is what the export works on, and its answer must agree with
// the model's. A disagreement traps, so libFuzzer keeps the input.
#include "Agree.h"

#include <unistd.h>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static const std::string dir = [] {
        std::string d = std::string(std::getenv("TMPDIR") ? std::getenv("TMPDIR") : "/tmp") + "/kestrune-fuzz-XXXXXX";
        return mkdtemp(d.data()) != nullptr ? d : (std::abort(), d);
    }();
    if (size == 0) return 0;
    const std::string input(reinterpret_cast<const char*>(data) + 1, size - 1);
    if (const char* disagreement = Agree::kChecks[data[0] % std::size(Agree::kChecks)](dir, input)) {
        std::fprintf(stderr, "mismatch: %s\n", disagreement);
        __builtin_trap();
    }
    return 0;
}
