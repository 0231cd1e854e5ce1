#include "Utf8Kernels.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <random>
#include <set>
#include <string>
#include <vector>

namespace {

using QORSysUtf8::KernelInfo;

std::vector<KernelInfo> Listed()
{
    std::vector<KernelInfo> kernels(8);
    kernels.resize(QORSysUtf8::Kernels(kernels.data(), 8));
    return kernels;
}

// The kernels this machine can run, from the system's account of the CPU
// rather than the one the library asks.
std::set<std::string> Runnable()
{
    std::set<std::string> names{"scalar"};
#if defined(__aarch64__)
    names.insert("neon");
#elif defined(__x86_64__)
    std::ifstream cpuinfo("/proc/cpuinfo");
    std::string line;
    while (std::getline(cpuinfo, line) && line.rfind("flags", 0) != 0) {}
    const auto has = [&line](const char* flag) {
        return line.find(std::string(" ") + flag + " ") != std::string::npos;
    };
    line += ' ';
    if (has("avx2")) names.insert("avx2");
    if (has("avx512f") && has("avx512bw")) names.insert("avx512");
#endif
    return names;
}

// A kernel that silently drops out would leave the agreement tests below testing nothing.
TEST(Utf8Kernels, EveryRunnableKernelIsListedAndTheFastestIsUsed)
{
    std::set<std::string> supported;
    for (const KernelInfo& kernel : Listed()) {
        if (kernel.supported) supported.insert(kernel.name);
    }
    EXPECT_EQ(supported, Runnable());
    for (const char* fastest : {"avx512", "avx2", "neon", "scalar"}) {
        if (Runnable().count(fastest) != 0) {
            EXPECT_STREQ(QORSysUtf8::Preferred().name, fastest);
            break;
        }
    }
}

// Every supported kernel agrees with the scalar one on bytes, stop included.
void ExpectAgreement(const std::string& bytes)
{
    // An exact-size heap copy, so that reading past the end is caught under ASan.
    const std::vector<unsigned char> copy(bytes.begin(), bytes.end());
    const unsigned char* begin = copy.data();
    const unsigned char* expected = QORSysUtf8::ValidateScalar(begin, begin + copy.size());
    for (const KernelInfo& kernel : Listed()) {
        if (!kernel.supported) continue;
        ASSERT_EQ(kernel.validate(begin, begin + copy.size()), expected)
            << kernel.name << " on " << copy.size() << " bytes, stop " << (expected ? expected - begin : -1);
    }
}

// Valid text mixing 1- to 4-byte letters.
std::string RandomText(std::mt19937& random, std::size_t letters)
{
    // clang-format off
    static const char* const kLetters[] = {"a", "Z", " ", "\n", "\xC3\xA9", "\xD0\x94", "\xDF\xBF", "\xE2\x82\xAC",
        "\xE4\xB8\xAD", "\xEF\xBF\xBD", "\xED\x9F\xBF", "\xF0\x9F\x98\x80", "\xF4\x8F\xBF\xBF"};
    // clang-format on
    std::string text;
    for (std::size_t i = 0; i < letters; ++i) text += kLetters[random() % std::size(kLetters)];
    return text;
}

// Each class of error (stray, overlong, surrogate, too high, cut short) at
// every offset across more than two steps of the widest kernel.
TEST(Utf8Kernels, AgreeWithScalarOnEveryClassAtEveryOffset)
{
    // clang-format off
    const char* const kBad[] = {"\x80", "\xBF\xBF", "\xC0\xAF", "\xC1\xBF", "\xE0\x9F\xBF", "\xF0\x8F\xBF\xBF",
        "\xED\xA0\x80", "\xED\xBF\xBF", "\xF4\x90\x80\x80", "\xF5\x80\x80\x80", "\xFF", "\xC3", "\xE2\x82",
        "\xF0\x9F\x98", "\xC3\x41", "\xE2\x82\x41", "\xF0\x9F\x98\xC3"};
    // clang-format on
    std::mt19937 random(7);
    for (const std::string& base : {std::string(300, 'x'), RandomText(random, 120)}) {
        for (std::size_t length = 0; length <= 260; ++length) ExpectAgreement(base.substr(0, length));
        for (const char* bad : kBad) {
            for (std::size_t at = 0; at < 200; ++at) ExpectAgreement(std::string(base).insert(at, bad));
        }
    }
}

}  // namespace
