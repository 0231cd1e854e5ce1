// UTF-8 validation kernels behind QORSysUCAlgorithm::IsUTF8. Each returns
// null when [begin, end) is complete, valid UTF-8 (RFC 3629), else the first
// byte of the first sequence that is invalid or cut short by end. All give
// the same answer; they differ only in speed and in the CPUs they need.
#ifndef KESTRUNE_UTF8KERNELS_H
#define KESTRUNE_UTF8KERNELS_H

namespace QORSysUtf8 {

using Kernel = const unsigned char* (*)(const unsigned char* begin, const unsigned char* end);

// Byte-at-a-time with an eight-byte ASCII skip; runs anywhere.
const unsigned char* ValidateScalar(const unsigned char* begin, const unsigned char* end);

// Keiser-Lemire lookup-table kernels; call only where the CPU has them.
const unsigned char* ValidateAvx2(const unsigned char* begin, const unsigned char* end);
const unsigned char* ValidateAvx512(const unsigned char* begin, const unsigned char* end);
const unsigned char* ValidateNeon(const unsigned char* begin, const unsigned char* end);

// Where the scalar kernel must restart to judge everything from at on, when
// all before at is known to be valid: the lead byte of a sequence that may
// run into at (at most 3 bytes back), or at itself.
const unsigned char* SequenceStart(const unsigned char* begin, const unsigned char* at);

struct KernelInfo {
    const char* name;
    Kernel validate;
    bool supported;  // by this CPU
};

// Every kernel this build has, the preferred one first; unsupported ones are listed too.
int Kernels(KernelInfo* out, int capacity);

// The kernel QORSysUCAlgorithm::IsUTF8 uses: the first supported one.
KernelInfo Preferred();

}  // namespace QORSysUtf8

#endif
