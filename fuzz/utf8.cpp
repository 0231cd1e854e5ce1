// QORSysUCAlgorithm::IsUTF8 against the model validator: the answer and the
// stop position, over the whole input and over a few shifted starts and
// shortened ends of it. The input sits in a heap block of exactly its size,
// so any read past the range is reported.
#include "FuzzSupport.h"
#include "QORSysText.h"
#include "utf8-model.h"

namespace {

void CheckRange(const char* begin, std::size_t length)
{
    const char* stop = begin;
    const int result = QORSysUCAlgorithm::IsUTF8(stop, length);
    const std::size_t model = ModelUtf8Stop(reinterpret_cast<const unsigned char*>(begin), length);
    const std::size_t got = result == 0 ? length : static_cast<std::size_t>(stop - begin);
    FUZZ_CHECK((result == 0) == (model == length) && (result != 0 || stop == begin) && got == model,
               "length %zu: library %d stop %td, model stop %zu", length, result, stop - begin, model);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const auto bytes = fuzz::Copy(data, size, false);
    for (std::size_t cut = 0; cut <= 3 && cut <= size; ++cut) {
        CheckRange(bytes.get() + cut, size - cut);  // later start
        CheckRange(bytes.get(), size - cut);        // earlier end
    }
    return 0;
}
