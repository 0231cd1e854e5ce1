#include "CatalogTextCompare.h"

#include <gtest/gtest.h>

#include <random>
#include <string>

namespace {

HRESULT Compare(const std::string& second, const std::string& first)
{
    return QORSysTextFileUtilities::CompareCatalogTexts(second.c_str(), second.c_str() + second.size(), first.c_str(),
                                                        first.c_str() + first.size());
}

// The byte-at-a-time loop, as plain as it can be written.
HRESULT Straightforward(const std::string& second, const std::string& first)
{
    const char* a = second.c_str();
    const char* b = first.c_str();
    for (long long remaining = static_cast<long long>(second.size()); remaining > 0;) {
        long long skipped = 0;
        for (; *a == '\r' || *a == '\n'; ++a) ++skipped;
        while (*b == '\r' || *b == '\n') ++b;
        if (*a != *b || (b == first.c_str() + first.size() && a != second.c_str() + second.size())) return S_FALSE;
        ++a, ++b;
        remaining -= skipped + 1;
    }
    return S_OK;
}

// Long equal runs with breaks, zero bytes and differences sprinkled in, so
// that the vector steps meet every kind of stop at every offset.
TEST(CompareCatalogTexts, AgreesWithTheStraightforwardLoop)
{
    // A second text that ends in a break at every offset of a vector step.
    for (std::size_t at = 1; at < 100; ++at) {
        const std::string first = std::string(at, 'a') + "\n" + std::string(100, 'a');
        ASSERT_EQ(Compare(first.substr(0, at + 1), first), S_FALSE) << at;
    }
    std::mt19937 random(3);
    const char kBytes[] = {'a', 'b', '\r', '\n', '\0', 'x'};
    for (int round = 0; round < 20000; ++round) {
        std::string first;
        for (std::size_t n = random() % 200; n > 0; --n) first += random() % 8 ? 'a' : kBytes[random() % 6];
        std::string second = first;
        for (unsigned edits = random() % 4; edits > 0 && !second.empty(); --edits) {
            const std::size_t at = random() % second.size();
            switch (random() % 4) {
                case 0: second.insert(at, random() % 2 ? "\r\n" : "\n"); break;
                case 1: second.erase(at, 1); break;
                case 2: second[at] = kBytes[random() % 6]; break;
                default: second.resize(at);
            }
        }
        if (random() % 3 == 0) second += "\n";  // a trailing break makes the first text's rest count
        if (random() % 2) first.swap(second);
        ASSERT_EQ(Compare(second, first), Straightforward(second, first))
            << "first [" << first << "] second [" << second << "]";
    }
}

}  // namespace
