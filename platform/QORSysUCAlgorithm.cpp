#include "QORSysText.h"
#include "Utf8Kernels.h"

int QORSysUCAlgorithm::IsUTF8(const char*& text, unsigned long long length)
{
    if (length == 0) return 0;
    if (text == nullptr) return 1;
    // Chosen once, at the first call, not at load.
    static const QORSysUtf8::Kernel kernel = QORSysUtf8::Preferred().validate;
    const auto* begin = reinterpret_cast<const unsigned char*>(text);
    const unsigned char* stop = kernel(begin, begin + length);
    if (stop == nullptr) return 0;
    text = reinterpret_cast<const char*>(stop);
    return 1;
}
