// A scratch directory per test, removed even when the test fails, with
// helpers to make and inspect files in it. It is made in the working
// directory (the build tree under ctest), so that a test process that dies
// leaves nothing in the system's temporary directory. Each test also checks
// that it left no file descriptor open.
#ifndef KESTRUNE_TESTS_SCRATCH_H
#define KESTRUNE_TESTS_SCRATCH_H

#include "Agree.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <filesystem>
#include <random>
#ifdef _WIN32
#include <io.h>
#else
#include <unistd.h>
#endif

// What Windows answers differently: a directory, and a read of a file open
// only for writing (or the reverse), are refused as access denied; the null
// device is NUL; a name that is not UTF-8 is refused rather than passed on;
// resolved paths use "\\".
#ifdef _WIN32
inline constexpr HRESULT kDirectoryRefused = QORSysResultFromErrno(5), kWrongAccess = kDirectoryRefused,
                         kNotUtf8Name = QORSysResultFromErrno(1113);
inline constexpr char kNullDevice[] = "NUL", kSeparator = '\\';
inline constexpr unsigned char kSlashRooted = 1;  // "/x" has no drive: relative to the current one
#else
inline constexpr HRESULT kDirectoryRefused = QORSysResultFromErrno(EISDIR), kWrongAccess = QORSysResultFromErrno(EBADF),
                         kNotUtf8Name = S_OK;
inline constexpr char kNullDevice[] = "/dev/null", kSeparator = '/';
inline constexpr unsigned char kSlashRooted = 0;
#endif

inline unsigned int Tell(QORSysFileDescriptor& file)
{
    unsigned int position = 0;
    EXPECT_EQ(QORSysFTell(file, &position), S_OK);
    return position;
}

// The lowest free descriptor, to find leaks (the Win32 services hold handles instead: the fault seam counts those).
inline int FirstFree()
{
    const int fd = dup(0);
    close(fd);
    return fd;
}

class Scratch : public ::testing::Test {
public:
    void SetUp() override { ASSERT_TRUE(std::filesystem::create_directory(dir_)); }
    void TearDown() override
    {
        std::filesystem::remove_all(dir_);
        EXPECT_EQ(FirstFree(), firstFree_) << "a descriptor was left open";
    }
    std::string Write(const std::string& name, const std::string& bytes) { return Put(dir_ + "/" + name, bytes); }
    // A file named "open" holding bytes, opened in mode at position start.
    QORSysFileDescriptor Open(const std::string& bytes, const char* mode, unsigned int start = 0)
    {
        QORSysFileDescriptor file;
        EXPECT_TRUE(QORSysFOpen(Path(Write("open", bytes)), mode, file, 0) == S_OK &&
                    QORSysFSeek(file, int(start), 0) == S_OK);
        return file;
    }
    const std::string dir_ =
        (std::filesystem::current_path() / ("kestrune-scratch-" + std::to_string(std::random_device{}()))).string();
    const int firstFree_ = FirstFree();
};

#endif
