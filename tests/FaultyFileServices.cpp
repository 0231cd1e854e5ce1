#include "FaultyFileServices.h"

#include <dlfcn.h>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <stdexcept>
#include <string>

namespace FaultyFiles {

const char* const kOpNames[OpCount] = {"open", "close", "read", "write", "seek", "tell", "size", "getc"};

const char* KindName(Kind kind) { return kind == Fail ? "fail" : kind == Short ? "short" : "zero"; }

unsigned KindsOf(Op op)
{
    if (op == Read || op == Write || op == Size) return Fail | Short | Zero;
    return op == Seek || op == Getc ? Fail | Zero : Fail;
}

namespace {

struct State {
    bool armed = false;
    std::vector<Fault> faults;
    unsigned calls[OpCount] = {};
    std::vector<const QORSysFileDescriptor*> open;
    unsigned opened = 0;
    unsigned closed = 0;
    unsigned foreignCloses = 0;
};

State& Now()
{
    static State state;
    return state;
}

// Above 0 inside a forwarded call: the real services call one another through
// the same symbols (getc reads through QORSysFRead), and those inner calls are
// not the library's.
thread_local int depth = 0;

// The real file services' definition, the next one after this executable's.
void* Next(const char* symbol)
{
    void* found = dlsym(RTLD_NEXT, symbol);
    if (found == nullptr) {
        std::fprintf(stderr, "FaultyFileServices: %s not found: %s\n", symbol, dlerror());
        std::abort();
    }
    return found;
}

// One call of an operation: counts it and finds the fault planned for it.
class Call {
public:
    explicit Call(Op op) : counted_(Now().armed && depth == 0)
    {
        ++depth;
        if (!counted_) return;
        State& state = Now();
        const unsigned n = ++state.calls[op];
        if (n > kCallLimit) {
            --depth;
            state.armed = false;
            throw std::runtime_error(std::string("FaultyFileServices: runaway ") + kOpNames[op] + " calls");
        }
        for (const Fault& fault : state.faults) {
            if (fault.op == op && fault.call == n) fault_ = &fault;
        }
    }
    ~Call() { --depth; }
    Call(const Call&) = delete;
    Call& operator=(const Call&) = delete;

    bool Counted() const { return counted_; }
    const Fault* Planned() const { return fault_; }
    Kind PlannedKind() const { return fault_->kind; }

private:
    const bool counted_;
    const Fault* fault_ = nullptr;
};

// A read that delivered got of count bytes: the rest of the buffer is garbage.
void Poison(char* buffer, unsigned int count, unsigned int got)
{
    if (buffer != nullptr && got < count) std::memset(buffer + got, 0xFF, count - got);
}

// Carries out the fault planned for a read or write of count bytes: Short
// moves count / 2 bytes through transfer, Zero moves none, Fail returns the
// fault's code; moved is what was moved.
template <typename Transfer>
HRESULT Faulted(const Call& call, unsigned int count, unsigned int& moved, Transfer transfer)
{
    moved = 0;
    if (call.PlannedKind() == Short) return transfer(count / 2, &moved);
    return call.PlannedKind() == Zero ? S_OK : call.Planned()->code;
}

}  // namespace

void Arm(const std::vector<Fault>& faults)
{
    Now() = State{};
    Now().faults = faults;
    Now().armed = true;
}

void Disarm() { Now().armed = false; }

unsigned Calls(Op op) { return Now().calls[op]; }
unsigned Opened() { return Now().opened; }
unsigned Closed() { return Now().closed; }
unsigned ForeignCloses() { return Now().foreignCloses; }

}  // namespace FaultyFiles

using namespace FaultyFiles;

#define KESTRUNE_REAL(function, symbol) static const auto real = reinterpret_cast<decltype(&function)>(Next(symbol))

HRESULT QORSysFOpen(const QORSysPath& path, const char* mode, QORSysFileDescriptor& file, int flags)
{
    KESTRUNE_REAL(QORSysFOpen, "_Z11QORSysFOpenRK10QORSysPathPKcR20QORSysFileDescriptori");
    const Call call(Open);
    if (call.Planned() != nullptr) {
        file = QORSysFileDescriptor{};  // not open
        return call.Planned()->code;
    }
    const HRESULT result = real(path, mode, file, flags);
    if (result >= 0 && call.Counted()) {
        Now().open.push_back(&file);
        ++Now().opened;
    }
    return result;
}

HRESULT QORSysFClose(QORSysFileDescriptor& file)
{
    KESTRUNE_REAL(QORSysFClose, "_Z12QORSysFCloseR20QORSysFileDescriptor");
    const Call call(Close);
    if (call.Counted()) {
        auto& open = Now().open;
        const auto found = std::find(open.begin(), open.end(), &file);
        if (found == open.end()) {
            ++Now().foreignCloses;
        } else {
            open.erase(found);
            ++Now().closed;
        }
    }
    const HRESULT result = real(file);  // closes even when failing, as close(2) does
    return call.Planned() != nullptr ? call.Planned()->code : result;
}

HRESULT QORSysFRead(QORSysFileDescriptor& file, char* buffer, unsigned int count, unsigned int* bytesRead)
{
    KESTRUNE_REAL(QORSysFRead, "_Z11QORSysFReadR20QORSysFileDescriptorPcjPj");
    const Call call(Read);
    if (call.Planned() == nullptr) return real(file, buffer, count, bytesRead);
    unsigned int got = 0;
    const HRESULT result =
        Faulted(call, count, got, [&](unsigned int n, unsigned int* done) { return real(file, buffer, n, done); });
    Poison(buffer, count, got);
    if (bytesRead != nullptr) *bytesRead = got;
    return result;
}

HRESULT QORSysFWrite(QORSysFileDescriptor& file, const char* buffer, unsigned int count, unsigned int* bytesWritten)
{
    KESTRUNE_REAL(QORSysFWrite, "_Z12QORSysFWriteR20QORSysFileDescriptorPKcjPj");
    const Call call(Write);
    if (call.Planned() == nullptr) return real(file, buffer, count, bytesWritten);
    unsigned int put = 0;
    const HRESULT result =
        Faulted(call, count, put, [&](unsigned int n, unsigned int* done) { return real(file, buffer, n, done); });
    if (bytesWritten != nullptr) *bytesWritten = put;
    return result;
}

HRESULT QORSysFSeek(QORSysFileDescriptor& file, int offset, int origin)
{
    KESTRUNE_REAL(QORSysFSeek, "_Z11QORSysFSeekR20QORSysFileDescriptorii");
    const Call call(Seek);
    if (call.Planned() == nullptr) return real(file, offset, origin);
    return call.PlannedKind() == Zero ? S_OK : call.Planned()->code;  // the position stays
}

HRESULT QORSysFTell(QORSysFileDescriptor& file, unsigned int* position)
{
    KESTRUNE_REAL(QORSysFTell, "_Z11QORSysFTellR20QORSysFileDescriptorPj");
    const Call call(Tell);
    return call.Planned() == nullptr ? real(file, position) : call.Planned()->code;
}

HRESULT QORSysFSize(QORSysFileDescriptor& file, unsigned int* size)
{
    KESTRUNE_REAL(QORSysFSize, "_Z11QORSysFSizeR20QORSysFileDescriptorPj");
    const Call call(Size);
    if (call.Planned() == nullptr) return real(file, size);
    if (call.PlannedKind() != Short && call.PlannedKind() != Zero) return call.Planned()->code;
    const HRESULT result = real(file, size);
    if (result >= 0) *size = call.PlannedKind() == Short ? *size / 2 : 0;
    return result;
}

HRESULT QORSysFGetc(QORSysFileDescriptor& file, int* character)
{
    KESTRUNE_REAL(QORSysFGetc, "_Z11QORSysFGetcR20QORSysFileDescriptorPi");
    const Call call(Getc);
    if (call.Planned() == nullptr) return real(file, character);
    if (call.PlannedKind() != Zero) return call.Planned()->code;  // character left as it was
    if (character != nullptr) *character = -1;
    return S_FALSE;
}
