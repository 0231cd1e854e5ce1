#include "Utf8Kernels.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <string>
#include <vector>

namespace {

using QORSysUtf8::KernelInfo;

std::vector<KernelInfo> SupportedKernels()
{
    KernelInfo all[8];
    const int count = QORSysUtf8::Kernels(all, 8);
    std::vector<KernelInfo> supported;
    for (int i = 0; i < count; ++i) {
        if (all[i].supported) supported.push_back(all[i]);
    }
    return supported;
}

// Valid text mixing 1- to 4-byte letters.
std::string RandomText(std::mt19937& random, std::size_t letters)
{
    static const char* const kLetters[] = {"a",
                                           "Z",
                                           " ",
                                           "\n",
                                           "\xC3\xA9",
                                           "\xD0\x94",
                                           "\xDF\xBF",
                                           "\xE2\x82\xAC",
                                           "\xE4\xB8\xAD",
                                           "\xEF\xBF\xBD",
                                           "\xED\x9F\xBF",
                                           "\xF0\x9F\x98\x80",
                                           "\xF4\x8F\xBF\xBF"};
    std::string text;
    for (std::size_t i = 0; i < letters; ++i) text += kLetters[random() % (sizeof kLetters / sizeof *kLetters)];
    return text;
}

// Every kernel this CPU has agrees with the scalar one on bytes, stop included.
void ExpectAgreement(const std::string& bytes)
{
    // An exact-size heap copy, so that reading past the end is caught under ASan.
    const std::vector<unsigned char> copy(bytes.begin(), bytes.end());
    const unsigned char* begin = copy.data();
    const unsigned char* expected = QORSysUtf8::ValidateScalar(begin, begin + copy.size());
    for (const KernelInfo& kernel : SupportedKernels()) {
        const unsigned char* stop = kernel.validate(begin, begin + copy.size());
        ASSERT_EQ(stop, expected) << kernel.name << " on " << copy.size() << " bytes, stop "
                                  << (expected ? expected - begin : -1);
    }
}

TEST(Utf8Kernels, AgreeWithScalarOnEveryClassAtEveryOffset)
{
    std::printf("kernels on this CPU:");
    for (const KernelInfo& kernel : SupportedKernels()) std::printf(" %s", kernel.name);
    std::printf("\n");
    const char* const kBad[] = {"\x80",
                                "\xBF\xBF",
                                "\xC0\xAF",
                                "\xC1\xBF",
                                "\xE0\x9F\xBF",
                                "\xF0\x8F\xBF\xBF",  // stray, overlong
                                "\xED\xA0\x80",
                                "\xED\xBF\xBF",  // surrogates
                                "\xF4\x90\x80\x80",
                                "\xF5\x80\x80\x80",
                                "\xFF",  // too high
                                "\xC3",
                                "\xE2\x82",
                                "\xF0\x9F\x98",
                                "\xC3\x41",
                                "\xE2\x82\x41",
                                "\xF0\x9F\x98\xC3"};  // cut short
    std::mt19937 random(7);
    const std::string ascii(300, 'x');
    const std::string mixed = RandomText(random, 120);
    for (const std::string& base : {ascii, mixed}) {
        for (std::size_t length = 0; length <= 260; ++length) ExpectAgreement(base.substr(0, length));  // truncations
        for (const char* bad : kBad) {
            for (std::size_t at = 0; at < 200; ++at) ExpectAgreement(std::string(base).insert(at, bad));
        }
    }
}

TEST(Utf8Kernels, AgreeWithScalarOnRandomCorruptions)
{
    std::mt19937 random(11);
    for (int round = 0; round < 3000; ++round) {
        std::string text = RandomText(random, 1 + random() % 400);
        for (unsigned flips = random() % 3; flips > 0; --flips)
            text[random() % text.size()] = static_cast<char>(random());
        ExpectAgreement(text.substr(random() % std::min<std::size_t>(8, text.size() + 1)));  // misaligned starts
    }
}

}  // namespace
