#include "OwnedFile.h"
#include "QORSysTextFileUtilities.h"

#include <cstring>

namespace QORSysTextFileUtilities {

namespace {

constexpr unsigned int kWindowSize = 4096;
// A sequence cut short at a window's end is at most 3 bytes long.
constexpr unsigned int kMaxCarry = 3;

}  // namespace

HRESULT DetectFileFormatDeep(const QORSysPath& path, int& format)
{
    format = 1;
    OwnedFile file;
    HRESULT result = file.Open(path);
    if (result < 0) return result;
    unsigned int remaining = 0;
    result = QORSysFSize(file.Descriptor(), &remaining);
    if (result < 0) return result;

    // Zeroed because the carry is measured to the window's end, not the
    // data's: after a short read it may take bytes no read has filled.
    char window[kWindowSize] = {};
    unsigned int carried = 0;
    while (remaining > 0) {
        unsigned int got = 0;
        result = QORSysFRead(file.Descriptor(), window + carried, kWindowSize - carried, &got);
        if (result < 0 || got == 0) return result;  // failed, or the file shrank
        // Wraps when the file has grown: reading then goes on until a read gives 0.
        remaining -= got;
        const char* stop = window;
        if (QORSysUCAlgorithm::IsUTF8(stop, carried + got) == 0) {
            carried = 0;
            continue;
        }
        const auto distance = static_cast<unsigned int>(window + kWindowSize - stop);
        if (distance > kMaxCarry) return result;
        std::memmove(window, stop, distance);
        carried = distance;
    }
    format = 2;
    return result;
}

}  // namespace QORSysTextFileUtilities
