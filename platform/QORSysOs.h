// The few operating-system calls under the file services. Everything above
// them (modes, read-ahead, 32-bit position limits, result codes) is written
// once in QORSysFile.cpp; posix/ and win32/ each implement these calls.
#ifndef KESTRUNE_QORSYSOS_H
#define KESTRUNE_QORSYSOS_H

#include "QORSysResult.h"

#include <cstddef>
#include <cstdint>

namespace QORSysOs {
/// The system's handle of an open file: a descriptor or a HANDLE.
using Handle = std::intptr_t;
inline constexpr Handle kNoHandle = -1;
/// What an open asks for: "rb", "r+b", "wb" (create, truncate), "w+b".
enum class Access { Read, ReadWrite, Write, WriteRead };
}  // namespace QORSysOs

#endif

// The calls, in namespace QORSYS_OS_CALLS. A test build of the file services
// renames the real ones so that it can wrap them; repeating the declarations
// under a second name is why this part has no include guard.
#ifndef QORSYS_OS_CALLS
#define QORSYS_OS_CALLS QORSysOs
#endif
namespace QORSYS_OS_CALLS {
/// Opens the file named by UTF-8 text; a directory is refused.
HRESULT Open(const char* name, QORSysOs::Access access, QORSysOs::Handle& handle);
/// One read of up to count bytes (at most 1 GiB); got is 0 at the end of the file.
HRESULT Read(QORSysOs::Handle handle, char* buffer, unsigned int count, unsigned int& got);
/// One write of up to count bytes (at most 1 GiB); put may fall short.
HRESULT Write(QORSysOs::Handle handle, const char* buffer, unsigned int count, unsigned int& put);
/// Moves to offset from origin (0 start, 1 current, 2 end) and stores the new position.
HRESULT Seek(QORSysOs::Handle handle, std::int64_t offset, int origin, std::int64_t& position);
/// Stores the file's size.
HRESULT Size(QORSysOs::Handle handle, std::uint64_t& size);
/// Closes the handle; it is gone whatever the result.
HRESULT Close(QORSysOs::Handle handle);
/// Memory for a read-ahead buffer; null when there is none.
void* Allocate(std::size_t size);
void Release(void* block);
}  // namespace QORSYS_OS_CALLS
