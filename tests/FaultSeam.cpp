#include "FaultSeam.h"

#include "QORSysOs.h"
#undef QORSYS_OS_CALLS
#define QORSYS_OS_CALLS QORSysOsReal
#include "QORSysOs.h"

#include <algorithm>
#include <cstring>

FaultSeam::State FaultSeam::state;

using namespace FaultSeam;

namespace QORSysOs {

HRESULT Open(const char* name, Access access, Handle& handle)
{
    if (Next(FaultSeam::Open) >= 0) return kInjected;
    const HRESULT result = QORSysOsReal::Open(name, access, handle);
    if (result >= 0 && state.armed) state.open[state.opened++] = handle;
    return result;
}

// A short read gives back what it does not deliver. A short or empty read
// fills what it did not deliver with 0xFF, so that a caller looking past the
// count it got sees garbage, not the file.
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
    return QORSysOsReal::Seek(handle, kind == Zero ? 0 : offset, kind == Zero ? 1 : origin, position);
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
    Handle* const end = state.open + state.opened;
    Handle* const mine = std::find(state.open, end, handle);
    if (mine != end)
        *mine = state.open[--state.opened];
    else if (state.armed)
        ++state.foreignCloses;
    const HRESULT result = QORSysOsReal::Close(handle);
    return kind == Fail ? kInjected : result;
}

void* Allocate(std::size_t size) { return Next(FaultSeam::Allocate) >= 0 ? nullptr : QORSysOsReal::Allocate(size); }

void Release(void* block) { QORSysOsReal::Release(block); }

}  // namespace QORSysOs
