// CompareCatalogFiles on two files made from the input, split at the first
// "|||" into the first file's bytes and the second's (without one, both get
// the whole input), against a loop over the two texts read whole.
#include "FuzzSupport.h"
#include "QORSysTextFileUtilities.h"
#include "catalog-head-model.h"

#include <algorithm>

namespace {

// A text's byte at i, reading its terminating zero at its length.
char At(const std::string& text, std::size_t i) { return i < text.size() ? text[i] : '\0'; }

bool IsLineBreak(char byte) { return byte == '\r' || byte == '\n'; }

// Past both heads, the texts are compared with line breaks left out until
// the second text is used up; only the first's zero byte ends it early.
HRESULT ModelCompare(const std::string& first, const std::string& second)
{
    int format = 0;
    std::size_t a = ModelCatalogHead(second.c_str(), format);
    std::size_t b = ModelCatalogHead(first.c_str(), format);
    long long remaining = static_cast<long long>(second.size() - a);
    while (remaining > 0) {
        long long skipped = 0;
        for (; IsLineBreak(At(second, a)); ++a) ++skipped;
        while (IsLineBreak(At(first, b))) ++b;
        if (At(second, a) != At(first, b)) return S_FALSE;
        if (b == first.size() && a < second.size()) return S_FALSE;  // a zero byte of the second text
        ++a;
        ++b;
        remaining -= skipped + 1;
    }
    return S_OK;
}

QORSysPath PathOf(const std::string& text)
{
    QORSysPath path;
    path.Set(text.c_str());
    return path;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static const uint8_t kSeparator[] = {'|', '|', '|'};
    const uint8_t* split = std::search(data, data + size, kSeparator, kSeparator + sizeof kSeparator);
    const std::string first(data, split);
    const std::string second = split == data + size ? first : std::string(split + sizeof kSeparator, data + size);

    const auto* firstBytes = reinterpret_cast<const uint8_t*>(first.data());
    const auto* secondBytes = reinterpret_cast<const uint8_t*>(second.data());
    const QORSysPath firstPath = PathOf(fuzz::WriteScratch("first.velnls", firstBytes, first.size()));
    const QORSysPath secondPath = PathOf(fuzz::WriteScratch("second", secondBytes, second.size()));
    const HRESULT result = QORSysTextFileUtilities::CompareCatalogFiles(firstPath, secondPath);
    const HRESULT model = ModelCompare(first, second);
    FUZZ_CHECK(result == model, "library %d, model %d; first %s; second %s", result, model, fuzz::Hex(first).c_str(),
               fuzz::Hex(second).c_str());
    return 0;
}
