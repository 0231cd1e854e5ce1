#include "QORSysText.h"
#include "Utf8Kernels.h"

namespace QORSysUtf8 {

namespace {

// The first supported kernel in order of preference; chosen once, at the
// first call, not at load.
Kernel Chosen()
{
    KernelInfo kernels[8];
    const int count = Kernels(kernels, 8);
    for (int i = 0; i < count && i < 8; ++i) {
        if (kernels[i].supported) return kernels[i].validate;
    }
    return ValidateScalar;
}

}  // namespace

}  // namespace QORSysUtf8

int QORSysUCAlgorithm::IsUTF8(const char*& text, unsigned long long length)
{
    if (length == 0) return 0;
    if (text == nullptr) return 1;
    static const QORSysUtf8::Kernel kernel = QORSysUtf8::Chosen();
    const auto* begin = reinterpret_cast<const unsigned char*>(text);
    const unsigned char* stop = kernel(begin, begin + length);
    if (stop == nullptr) return 0;
    text = reinterpret_cast<const char*>(stop);
    return 1;
}
