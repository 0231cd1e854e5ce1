// DetectUnicodeBOM on a buffer of the input's bytes, declared with its full
// size and with each shorter size up to 3, against the mark rule.
#include "FuzzSupport.h"
#include "QORSysTextFileUtilities.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size > 0xFFFFFFFFu) return 0;
    const auto bytes = fuzz::Copy(data, size, false);
    const unsigned int sizes[] = {static_cast<unsigned int>(size), 0, 1, 2, 3};
    for (const unsigned int declared : sizes) {
        if (declared > size) continue;
        const char* text = bytes.get();
        unsigned int left = declared;
        const HRESULT result = QORSysTextFileUtilities::DetectUnicodeBOM(text, left);
        const bool mark = declared >= 3 && data[0] == 0xEF && data[1] == 0xBB && data[2] == 0xBF;
        const unsigned int moved = mark ? 3 : 0;
        FUZZ_CHECK(result == (mark ? S_OK : S_FALSE) && text == bytes.get() + moved && left == declared - moved,
                   "size %u: library %d moved %td left %u, model %d moved %u", declared, result, text - bytes.get(),
                   left, mark ? S_OK : S_FALSE, moved);
    }
    const char* none = nullptr;
    unsigned int left = static_cast<unsigned int>(size);
    const HRESULT result = QORSysTextFileUtilities::DetectUnicodeBOM(none, left);
    FUZZ_CHECK(result == E_FAIL && none == nullptr && left == size, "null text: library %d", result);
    return 0;
}
