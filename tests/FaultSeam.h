// The fault seam: a test build of the file services whose system calls pass
// through here. Armed, it counts each kind of call and makes the planned ones
// go wrong; it also keeps the handles opened and not yet closed, to find
// leaks and closes of a caller's file.
#ifndef KESTRUNE_TESTS_FAULTSEAM_H
#define KESTRUNE_TESTS_FAULTSEAM_H

#include "KestruneExport.h"
#include "QORSysResult.h"

#include <cstdint>
#include <vector>

namespace FaultSeam {

// New is the test program's own operator new; from Stat on, the tool's safe replace (ReplaceSeam.cpp).
// clang-format off
enum Call : unsigned { Open, Read, Write, Seek, Size, Close, Allocate, New,
                       Stat, CreateTemp, Sync, SetMode, CloseTemp, Rename, SyncDirectory, Remove, SetOwner,
                       CopyAttributes, kCalls };
// clang-format on
// Fail: returns kInjected having done nothing (a close still closes). Short:
// reads half of what the file had, writes half, or reports half the size.
// Zero: reads or writes nothing, reports size 0, or stays where it is.
enum Kind : unsigned { Fail, Short, Zero };
struct Fault {
    Call call;
    unsigned nth;  // 1-based among the armed calls of its kind
    Kind kind;
};
inline constexpr HRESULT kInjected = static_cast<HRESULT>(0x8007F00Du);

struct State {
    bool armed = false;
    std::vector<Fault> planned;
    unsigned counts[kCalls] = {};
    std::intptr_t open[16] = {};  // opened while armed and not closed (no allocation: that is counted too)
    unsigned opened = 0, foreignCloses = 0;
};
QORSYS_FILE_API extern State state;

inline void Arm(const std::vector<Fault>& faults = {}) { state = State{true, faults}; }
// Counts a call, while armed: the kind of fault planned for it, -1 for none;
// -2 when disarmed.
inline int Next(Call call)
{
    if (!state.armed) return -2;
    const unsigned nth = ++state.counts[call];
    for (const Fault& f : state.planned)
        if (f.call == call && f.nth == nth) return static_cast<int>(f.kind);
    return -1;
}

}  // namespace FaultSeam

#endif
