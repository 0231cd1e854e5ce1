#include "Utf8Kernels.h"

namespace QORSysUtf8 {

int Kernels(KernelInfo* out, int capacity)
{
#if defined(QORSYS_UTF8_X86_KERNELS)
    // x86 CPUs differ in what they have, so it is asked at run time.
    __builtin_cpu_init();
    const KernelInfo all[] = {
        {"avx512", ValidateAvx512, __builtin_cpu_supports("avx512f") && __builtin_cpu_supports("avx512bw")},
        {"avx2", ValidateAvx2, __builtin_cpu_supports("avx2") != 0},
        {"scalar", ValidateScalar, true},
    };
#elif defined(QORSYS_UTF8_NEON_KERNEL)
    const KernelInfo all[] = {{"neon", ValidateNeon, true}, {"scalar", ValidateScalar, true}};
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

KernelInfo Preferred()
{
    KernelInfo kernels[8];
    const int count = Kernels(kernels, 8);
    for (int i = 0; i < count && i < 8; ++i) {
        if (kernels[i].supported) return kernels[i];
    }
    return {"scalar", ValidateScalar, true};
}

}  // namespace QORSysUtf8
