// DetectFileFormatDeep on a file of the input's bytes against the model
// validator applied window by window with the carry rule.
#include "FuzzSupport.h"
#include "QORSysTextFileUtilities.h"
#include "utf8-model.h"

#include <algorithm>

namespace {

// Reads of up to 4096 bytes fill a window after the 0-3 bytes carried from
// the last one. When a window does not validate, the bytes from the stop to
// the window's end (not the data's end) are carried if there are at most 3,
// else the answer is 1. A carry left when the data runs out is not judged.
int ModelDeep(const uint8_t* data, std::size_t size)
{
    constexpr std::size_t kWindow = 4096;
    unsigned char window[kWindow] = {};  // after a short read the tail keeps older bytes
    std::size_t carried = 0;
    for (std::size_t done = 0; done < size;) {
        const std::size_t got = std::min(kWindow - carried, size - done);
        std::copy(data + done, data + done + got, window + carried);
        done += got;
        const std::size_t held = carried + got;
        const std::size_t stop = ModelUtf8Stop(window, held);
        carried = 0;
        if (stop == held) continue;
        if (kWindow - stop > 3) return 1;
        carried = kWindow - stop;
        std::copy(window + stop, window + kWindow, window);
    }
    return 2;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    QORSysPath path;
    path.Set(fuzz::WriteScratch("deep", data, size).c_str());
    int format = 0;
    const HRESULT result = QORSysTextFileUtilities::DetectFileFormatDeep(path, format);
    const int model = ModelDeep(data, size);
    FUZZ_CHECK(result >= 0 && format == model, "size %zu: library %d format %d, model format %d", size, result, format,
               model);
    return 0;
}
