#include "Utf8Kernels.h"

namespace QORSysUtf8 {

int Kernels(KernelInfo* out, int capacity)
{
#if defined(QORSYS_UTF8_X86_KERNELS)
    __builtin_cpu_init();
    const KernelInfo all[] = {
        {"avx512", ValidateAvx512, __builtin_cpu_supports("avx512f") && __builtin_cpu_supports("avx512bw")},
        {"avx2", ValidateAvx2, __builtin_cpu_supports("avx2") != 0},
        {"scalar", ValidateScalar, true},
    };
#else
    const KernelInfo all[] = {{"scalar", ValidateScalar, true}};
#endif
    int count = 0;
    for (const KernelInfo& kernel : all) {
        if (count < capacity) out[count] = kernel;
        ++count;
    }
    return count;
}

}  // namespace QORSysUtf8
