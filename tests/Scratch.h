// A scratch directory per test, with helpers to make and inspect files in it.
// Every test also checks that no file descriptor was left open.
#ifndef KESTRUNE_TESTS_SCRATCH_H
#define KESTRUNE_TESTS_SCRATCH_H

#include "QORSysFile.h"

#include <gtest/gtest.h>

#include <unistd.h>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>

inline int FirstFreeDescriptor()
{
    const int fd = dup(0);
    close(fd);
    return fd;
}

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
    void SetUp() override { ASSERT_NE(mkdtemp(dir_.data()), nullptr); }
    void TearDown() override
    {
        EXPECT_EQ(FirstFreeDescriptor(), firstFree_) << "a descriptor was left open";
        std::system(("rm -rf '" + dir_ + "'").c_str());
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

    std::string dir_ = "/tmp/kestrune-test-XXXXXX";
    const int firstFree_ = FirstFreeDescriptor();
};

#endif
