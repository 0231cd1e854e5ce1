// The fault seam: a test build of the file services whose system calls pass
// through here. Armed, it counts each kind of call and makes the planned ones
// go wrong; it also counts handles opened and closed, to find leaks and
// closes of a caller's file.
#ifndef KESTRUNE_TESTS_FAULTSEAM_H
#define KESTRUNE_TESTS_FAULTSEAM_H

#include "KestruneExport.h"
#include "QORSysResult.h"

#include <vector>

namespace FaultSeam {

// New is the test program's own operator new, counted only while armed.
enum Call : unsigned { Open, Read, Write, Seek, Size, Close, Allocate, New, kCalls };
// Fail: returns kInjected having done nothing (a close still closes). Short:
// reads or writes half, or reports half the size. Zero: reads or writes
// nothing, reports size 0, or stays where it is.
enum Kind : unsigned { Fail, Short, Zero };
struct Fault {
    Call call;
    unsigned nth;  // 1-based among the armed calls of its kind
    Kind kind;
};
inline constexpr HRESULT kInjected = static_cast<HRESULT>(0x8007F00Du);

QORSYS_FILE_API void Arm(const std::vector<Fault>& faults = {});
QORSYS_FILE_API void Disarm();
QORSYS_FILE_API unsigned Count(Call call);
// Counts a call of this kind, while armed: the kind of fault planned for it,
// -1 for none; -2 when disarmed.
QORSYS_FILE_API int Next(Call call);
// Handles opened while armed and not closed; closes of other handles.
QORSYS_FILE_API int Leaked();
QORSYS_FILE_API unsigned ForeignCloses();

}  // namespace FaultSeam

#endif
