// Every UTF-8 kernel the machine can run must be listed and the fastest one
// used (a kernel that silently dropped out would leave the agreement test
// testing nothing), and each must agree with the scalar one.
#include "Utf8Kernels.h"

#include <gtest/gtest.h>

#include <fstream>
#include <random>
#include <set>
#include <string>
#include <vector>

namespace {

using QORSysUtf8::KernelInfo;

const std::vector<KernelInfo> kListed = [] {
    std::vector<KernelInfo> kernels(8);
    kernels.resize(QORSysUtf8::Kernels(kernels.data(), 8));
    return kernels;
}();

TEST(Utf8Kernels, EveryRunnableKernelIsListedAndTheFastestIsUsed)
{
    // What the machine can run, from the system's account of the CPU rather than the one the library asks.
    std::set<std::string> runnable{"scalar"}, supported;
#if defined(__aarch64__)
    runnable.insert("neon");
#elif defined(__x86_64__)
    std::ifstream cpuinfo("/proc/cpuinfo");
    std::string flags;
    while (std::getline(cpuinfo, flags) && flags.rfind("flags", 0) != 0) {}
    flags += ' ';
    if (flags.find(" avx2 ") != std::string::npos) runnable.insert("avx2");
    if (flags.find(" avx512f ") != std::string::npos && flags.find(" avx512bw ") != std::string::npos)
        runnable.insert("avx512");
#endif
    for (const KernelInfo& kernel : kListed)
        if (kernel.supported) supported.insert(kernel.name);
    EXPECT_EQ(QORSysUtf8::Kernels(nullptr, 0), static_cast<int>(kListed.size()));  // a count alone
    EXPECT_EQ(supported, runnable);
    const char* fastest[] = {"avx512", "avx2", "neon", "scalar"};
    EXPECT_STREQ(QORSysUtf8::Preferred().name,
                 *std::find_if(fastest, fastest + 4, [&](const char* name) { return runnable.count(name) != 0; }));
}

// Each class of error (stray, overlong, surrogate, too high, cut short) at
// every offset across a step of the widest kernel and two of its ASCII runs,
// in ASCII and in valid text of 1- to 4-byte letters; and every length of both.
TEST(Utf8Kernels, AgreeWithScalarOnEveryClassAtEveryOffset)
{
    // clang-format off
    const char* const kBad[] = {"\x80", "\xBF\xBF", "\xC0\xAF", "\xC1\xBF", "\xE0\x9F\xBF", "\xF0\x8F\xBF\xBF",
        "\xED\xA0\x80", "\xED\xBF\xBF", "\xF4\x90\x80\x80", "\xF5\x80\x80\x80", "\xFF", "\xC3", "\xE2\x82",
        "\xF0\x9F\x98", "\xC3\x41", "\xE2\x82\x41", "\xF0\x9F\x98\xC3"};
    const char* const kLetters[] = {"a", "Z", " ", "\n", "\xC3\xA9", "\xD0\x94", "\xDF\xBF", "\xE2\x82\xAC",
        "\xE4\xB8\xAD", "\xE0\xA4\x85", "\xEF\xBF\xBD", "\xED\x9F\xBF", "\xF0\x9F\x98\x80", "\xF4\x8F\xBF\xBF"};
    // clang-format on
    std::mt19937 random(7);
    std::string letters;
    while (letters.size() < 640) letters += kLetters[random() % std::size(kLetters)];
    const auto agree = [](const std::string& bytes) {
        const std::vector<unsigned char> copy(bytes.begin(), bytes.end());  // exact size: ASan sees reads past it
        const unsigned char *begin = copy.data(), *end = begin + copy.size();
        for (const KernelInfo& kernel : kListed)
            ASSERT_TRUE(!kernel.supported || kernel.validate(begin, end) == QORSysUtf8::ValidateScalar(begin, end))
                << kernel.name << " on " << copy.size();
    };
    for (const std::string& base : {std::string(640, 'x'), std::string(640, '\0'), letters}) {
        for (std::size_t length = 0; length <= 260; ++length) agree(base.substr(0, length));
        for (const char* bad : kBad)
            for (std::size_t at = 0; at < 520; ++at) agree(std::string(base).insert(at, bad));
    }
}

}  // namespace
