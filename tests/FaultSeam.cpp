#include "FaultSeam.h"

#include "QORSysOs.h"
#undef QORSYS_OS_CALLS
#define QORSYS_OS_CALLS QORSysOsReal
#include "QORSysOs.h"

#include <algorithm>
#include <cstring>

namespace FaultSeam {
namespace {
bool armed = false;
std::vector<Fault> planned;
unsigned counts[kCalls];
// No allocation here: allocations are counted too.
QORSysOs::Handle opened[16];
std::size_t openCount = 0;
unsigned foreign = 0;
}  // namespace

void Arm(const std::vector<Fault>& faults)
{
    planned = faults;
    std::memset(counts, 0, sizeof counts);
    openCount = 0;
    foreign = 0;
    armed = true;
}

void Disarm() { armed = false; }
unsigned Count(Call call) { return counts[call]; }
int Leaked() { return static_cast<int>(openCount); }
unsigned ForeignCloses() { return foreign; }

int Next(Call call)
{
    if (!armed) return -2;
    const unsigned nth = ++counts[call];
    for (const Fault& f : planned)
        if (f.call == call && f.nth == nth) return static_cast<int>(f.kind);
    return -1;
}

}  // namespace FaultSeam

using namespace FaultSeam;

namespace QORSysOs {

HRESULT Open(const char* name, Access access, Handle& handle)
{
    if (Next(FaultSeam::Open) >= 0) return kInjected;
    const HRESULT result = QORSysOsReal::Open(name, access, handle);
    if (result >= 0 && armed) opened[openCount++] = handle;
    return result;
}

// A short read gives half of what the file had, and gives the rest back. A
// short or empty read fills what it did not deliver with 0xFF, so that a
// caller looking past the count it got sees garbage, not the file.
HRESULT Read(Handle handle, char* buffer, unsigned int count, unsigned int& got)
{
    const int kind = Next(FaultSeam::Read);
    got = 0;
    if (kind == Fail) return kInjected;
    const HRESULT result = kind == Zero ? S_OK : QORSysOsReal::Read(handle, buffer, count, got);
    std::int64_t position = 0;
    if (kind == Short) QORSysOsReal::Seek(handle, -static_cast<std::int64_t>(got - got / 2), 1, position);
    if (kind == Short) got /= 2;
    if (kind >= 0) std::memset(buffer + got, 0xFF, count - got);
    return result;
}

HRESULT Write(Handle handle, const char* buffer, unsigned int count, unsigned int& put)
{
    const int kind = Next(FaultSeam::Write);
    put = 0;
    if (kind == Fail) return kInjected;
    return kind == Zero ? S_OK : QORSysOsReal::Write(handle, buffer, kind == Short ? count / 2 : count, put);
}

HRESULT Seek(Handle handle, std::int64_t offset, int origin, std::int64_t& position)
{
    const int kind = Next(FaultSeam::Seek);
    if (kind == Fail) return kInjected;
    return kind == Zero ? QORSysOsReal::Seek(handle, 0, 1, position)
                        : QORSysOsReal::Seek(handle, offset, origin, position);
}

HRESULT Size(Handle handle, std::uint64_t& size)
{
    const int kind = Next(FaultSeam::Size);
    if (kind == Fail) return kInjected;
    const HRESULT result = QORSysOsReal::Size(handle, size);
    if (kind >= 0) size = kind == Short ? size / 2 : 0;
    return result;
}

HRESULT Close(Handle handle)
{
    const int kind = Next(FaultSeam::Close);
    QORSysOs::Handle* const end = opened + openCount;
    QORSysOs::Handle* const mine = std::find(opened, end, handle);
    if (mine != end)
        *mine = opened[--openCount];
    else if (armed)
        ++foreign;
    const HRESULT result = QORSysOsReal::Close(handle);
    return kind == Fail ? kInjected : result;
}

void* Allocate(std::size_t size) { return Next(FaultSeam::Allocate) >= 0 ? nullptr : QORSysOsReal::Allocate(size); }

void Release(void* block) { QORSysOsReal::Release(block); }

}  // namespace QORSysOs
