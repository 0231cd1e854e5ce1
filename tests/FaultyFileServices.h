// A fault-injecting double of the file services, for tests only. The test
// executable defines the QORSysF* functions itself, so libKestrune's calls
// bind to these definitions; each forwards to the real file services unless
// a fault is planned for that call. Calls are counted only while armed, so
// a test's own setup and checks of files stay out of the counts.
#ifndef KESTRUNE_TESTS_FAULTYFILESERVICES_H
#define KESTRUNE_TESTS_FAULTYFILESERVICES_H

#include "QORSysFile.h"

#include <vector>

namespace FaultyFiles {

enum Op : unsigned { Open, Close, Read, Write, Seek, Tell, Size, Getc, OpCount };
extern const char* const kOpNames[OpCount];

// What the planned call does instead of its real work:
//   Fail  returns the fault's code having done nothing (a close still closes,
//         as a failing close(2) does);
//   Short reads or writes count / 2 bytes, or reports half the real size;
//   Zero  succeeds having done nothing: reads or writes 0 bytes, reports
//         size 0, meets the end of the file (getc), or does not move (seek).
// A kind an operation does not know (see KindsOf) acts as Fail. Bytes a read
// was asked for but did not deliver are overwritten with 0xFF, so that a
// caller looking past the count it was given sees garbage, not the file.
enum Kind : unsigned { Fail = 1, Short = 2, Zero = 4 };
const char* KindName(Kind kind);
// The kinds op knows, as a mask.
unsigned KindsOf(Op op);

// A distinctive code that no real failure gives.
inline constexpr HRESULT kInjected = static_cast<HRESULT>(0x8007F00Du);
// A call of one operation beyond this many throws std::runtime_error: a
// caller that keeps calling after the end of a file or a failure stops there
// instead of hanging the test.
inline constexpr unsigned kCallLimit = 100000;

struct Fault {
    Op op;
    unsigned call;  // 1-based index among the armed calls of op
    Kind kind;
    HRESULT code = kInjected;
};

// Resets the counts and starts counting and injecting the given faults.
void Arm(const std::vector<Fault>& faults = {});
// Stops counting; the counts stay readable until the next Arm.
void Disarm();

unsigned Calls(Op op);
// Records opened successfully, records of those closed, and closes of
// records this session did not open (a caller's descriptor).
unsigned Opened();
unsigned Closed();
unsigned ForeignCloses();

}  // namespace FaultyFiles

#endif
