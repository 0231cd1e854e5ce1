// Built with -mavx2; called only when the CPU has AVX2.
#include "Utf8Avx2Trait.h"

namespace QORSysUtf8 {

const unsigned char* ValidateAvx2(const unsigned char* begin, const unsigned char* end)
{
    return ValidateWith<Avx2>(begin, end);
}

}  // namespace QORSysUtf8
