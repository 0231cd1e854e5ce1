#include "QORSysFile.h"
#include "Scratch.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <random>

namespace {

using ReadAhead = Scratch;

// Random reads, getc, writes, seeks, tells and sizes on one descriptor, each
// checked against the same operation with plain POSIX calls on a twin file.
TEST_F(ReadAhead, StaysCoherentWithPlainPosix)
{
    std::mt19937 random(5);
    std::string initial(300 * 1024, '\0');
    for (char& byte : initial) byte = static_cast<char>(random());
    QORSysFileDescriptor file;
    ASSERT_EQ(QORSysFOpen(Path(Write("file", initial)), "r+b", file, 0), S_OK);
    const int twin = open(Write("twin", initial).c_str(), O_RDWR | O_BINARY);
    const unsigned int kSizes[] = {1, 3, 4096, 5000, 70000, 140000};
    std::vector<char> mine(140000), theirs(140000);
    for (int step = 0; step < 4000; ++step) {
        const unsigned int size = kSizes[random() % 6];
        switch (random() % 6) {
            case 0: {
                unsigned int got = 0;
                ASSERT_EQ(QORSysFRead(file, mine.data(), size, &got), S_OK);
                ASSERT_EQ(got, static_cast<unsigned int>(read(twin, theirs.data(), size)));
                ASSERT_EQ(0, memcmp(mine.data(), theirs.data(), got)) << "step " << step;
                break;
            }
            case 1: {
                int c = 0;
                unsigned char byte = 0;
                const HRESULT result = QORSysFGetc(file, &c);
                ASSERT_EQ(result == S_OK ? 1 : 0, read(twin, &byte, 1));
                ASSERT_EQ(c, result == S_OK ? byte : -1);
                break;
            }
            case 2: {
                const std::string bytes(size % 5000, static_cast<char>('a' + step % 26));
                ASSERT_EQ(QORSysFWrite(file, bytes.data(), static_cast<unsigned int>(bytes.size()), nullptr), S_OK);
                ASSERT_EQ(write(twin, bytes.data(), bytes.size()), static_cast<ssize_t>(bytes.size()));
                break;
            }
            case 3: {
                const int origin = static_cast<int>(random() % 3);
                const int offset = static_cast<int>(random() % 200000) - (origin == 0 ? 0 : 100000);
                const off_t target = lseek(twin, 0, SEEK_CUR) >= 0 ? lseek(twin, offset, origin) : -1;
                ASSERT_EQ(QORSysFSeek(file, offset, origin) >= 0, target >= 0) << "step " << step;
                break;
            }
            default:
                ASSERT_EQ(Tell(file), static_cast<unsigned int>(lseek(twin, 0, SEEK_CUR))) << "step " << step;
                struct stat info {};
                fstat(twin, &info);
                unsigned int length = 0;
                ASSERT_EQ(QORSysFSize(file, &length), S_OK);
                ASSERT_EQ(length, static_cast<unsigned int>(info.st_size));
        }
    }
    QORSysFClose(file);
    close(twin);
    EXPECT_EQ(Read(dir_ + "/file"), Read(dir_ + "/twin"));
}

}  // namespace
