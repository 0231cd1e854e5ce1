// DetectEOL on the input as a zero-terminated text (it ends at the first
// zero byte) against a model of the first-line-ending rule.
#include "FuzzSupport.h"
#include "QORSysTextFileUtilities.h"

namespace {

// The first CR or LF decides: CR LF, LF (whatever follows), or a lone CR.
// The end of the text or a 0xFF byte before any of them gives S_FALSE.
HRESULT ModelEOL(const char* text, std::string& eol)
{
    eol = "\r\n";
    for (std::size_t i = 0;; ++i) {
        const unsigned char byte = text[i];
        if (byte == '\0' || byte == 0xFF) return S_FALSE;
        if (byte == '\n') {
            eol = "\n";
            return S_OK;
        }
        if (byte == '\r') {
            eol = text[i + 1] == '\n' ? "\r\n" : "\r";
            return S_OK;
        }
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const auto text = fuzz::Copy(data, size, true);
    const char* eol = nullptr;
    const HRESULT result = QORSysTextFileUtilities::DetectEOL(text.get(), eol);
    std::string expected;
    const HRESULT model = ModelEOL(text.get(), expected);
    FUZZ_CHECK(result == model && eol != nullptr && expected == eol, "library %d eol %s, model %d eol %s", result,
               eol == nullptr ? "(null)" : fuzz::Hex(eol).c_str(), model, fuzz::Hex(expected).c_str());
    return 0;
}
