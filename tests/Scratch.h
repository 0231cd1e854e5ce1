// A scratch directory per test, with helpers to make and inspect files in it.
#ifndef KESTRUNE_TESTS_SCRATCH_H
#define KESTRUNE_TESTS_SCRATCH_H

#include "QORSysFile.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>

class Scratch : public ::testing::Test {
public:
    void SetUp() override
    {
        char pattern[] = "/tmp/kestrune-test-XXXXXX";
        ASSERT_NE(mkdtemp(pattern), nullptr);
        dir_ = pattern;
    }
    void TearDown() override { std::system(("rm -rf '" + dir_ + "'").c_str()); }

    std::string Write(const std::string& name, const std::string& bytes)
    {
        const std::string path = dir_ + "/" + name;
        std::ofstream(path, std::ios::binary) << bytes;
        return path;
    }
    static std::string Read(const std::string& path)
    {
        std::ostringstream bytes;
        bytes << std::ifstream(path, std::ios::binary).rdbuf();
        return bytes.str();
    }
    static QORSysPath Path(const std::string& text)
    {
        QORSysPath path;
        EXPECT_GE(path.Set(text.c_str()), 0);
        return path;
    }
    // Opens path and moves to position start.
    QORSysFileDescriptor Open(const std::string& path, const char* mode, unsigned int start = 0)
    {
        QORSysFileDescriptor file;
        EXPECT_EQ(QORSysFOpen(Path(path), mode, file, 0), S_OK) << path;
        EXPECT_EQ(QORSysFSeek(file, static_cast<int>(start), 0), S_OK);
        return file;
    }
    static unsigned int Tell(QORSysFileDescriptor& file)
    {
        unsigned int position = 0;
        EXPECT_EQ(QORSysFTell(file, &position), S_OK);
        return position;
    }

    std::string dir_;
};

#endif
