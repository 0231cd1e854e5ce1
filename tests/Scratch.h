// A scratch directory per test, with helpers to make and inspect files in it.
// Every test also checks that no file descriptor was left open.
#ifndef KESTRUNE_TESTS_SCRATCH_H
#define KESTRUNE_TESTS_SCRATCH_H

#include "QORSysFile.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <unistd.h>
#include <cerrno>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>
#include <string>
#ifdef _WIN32
// The Win32 file services hold no C runtime descriptors to count.
inline int FirstFreeDescriptor() { return 0; }
#else
inline int FirstFreeDescriptor()
{
    const int fd = dup(0);
    close(fd);
    return fd;
}
#endif

// What differs on Windows: opening a directory, and reading a file open
// only for writing (or the reverse), fail as access denied; paths are
// written with "\\"; plain descriptors need O_BINARY to see every byte.
#ifdef _WIN32
inline constexpr HRESULT kDirectoryRefused = QORSysResultFromErrno(5);
inline constexpr HRESULT kWrongAccess = QORSysResultFromErrno(5);
inline constexpr char kSeparator = '\\';
#else
inline constexpr HRESULT kDirectoryRefused = QORSysResultFromErrno(EISDIR);
inline constexpr HRESULT kWrongAccess = QORSysResultFromErrno(EBADF);
inline constexpr char kSeparator = '/';
#define O_BINARY 0
#endif

inline QORSysPath Path(const std::string& text)
{
    QORSysPath path;
    path.Set(text.c_str());
    return path;
}

inline std::string Read(const std::string& path)
{
    std::ostringstream bytes;
    bytes << std::ifstream(path, std::ios::binary).rdbuf();
    return bytes.str();
}

inline unsigned int Tell(QORSysFileDescriptor& file)
{
    unsigned int position = 0;
    EXPECT_EQ(QORSysFTell(file, &position), S_OK);
    return position;
}

class Scratch : public ::testing::Test {
public:
    void SetUp() override
    {
        std::random_device random;
        dir_ = (std::filesystem::temp_directory_path() / ("kestrune-test-" + std::to_string(random()))).string();
        ASSERT_TRUE(std::filesystem::create_directory(dir_)) << dir_;
    }
    void TearDown() override
    {
        EXPECT_EQ(FirstFreeDescriptor(), firstFree_) << "a descriptor was left open";
        std::error_code ignored;
        std::filesystem::remove_all(dir_, ignored);
    }

    std::string Write(const std::string& name, const std::string& bytes)
    {
        std::ofstream(dir_ + "/" + name, std::ios::binary) << bytes;
        return dir_ + "/" + name;
    }
    // Opens a file holding bytes, at position start.
    QORSysFileDescriptor Open(const std::string& bytes, const char* mode, unsigned int start = 0)
    {
        QORSysFileDescriptor file;
        EXPECT_EQ(QORSysFOpen(Path(Write("open", bytes)), mode, file, 0), S_OK);
        EXPECT_EQ(QORSysFSeek(file, static_cast<int>(start), 0), S_OK);
        return file;
    }

    std::string dir_;
    const int firstFree_ = FirstFreeDescriptor();
};

#endif
