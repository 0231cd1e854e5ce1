// A text handed in pieces (a file read in windows), with only what the
// answers about it need kept: the line endings, the head, the first invalid
// UTF-8 sequence and the first byte only a binary file holds, each as the
// whole-text functions find it.
#ifndef KESTRUNE_TOOL_TEXTSCAN_H
#define KESTRUNE_TOOL_TEXTSCAN_H

#include "CatalogHead.h"
#include "LineEndings.h"
#include "Utf8Position.h"

#include <cstddef>
#include <string>
#include <string_view>

namespace kestrune_tool {

class TextScan {
public:
    // binary: look for a binary file's byte too.
    explicit TextScan(bool binary = false) : binaryWanted_(binary) {}

    void Feed(std::string_view piece);
    // The text has ended: a sequence left incomplete is invalid.
    void Finish();

    const LineEndingScan& Endings() const { return endings_; }
    const HeadScan& Head() const { return head_; }
    // As FindInvalidUtf8 and FindBinaryByte on the whole text, once finished.
    bool InvalidUtf8(TextPosition& at) const { return Found(invalid_, at); }
    bool BinaryByte(TextPosition& at) const { return Found(binary_, at); }

private:
    // A place found, and the bytes there as they come.
    struct Fault {
        bool found = false;
        bool complete = false;  // every byte of it taken
        std::size_t announced = 1;
        std::string bytes;
        TextPosition at;
    };
    static bool Found(const Fault& fault, TextPosition& at);
    // Notes the fault at piece[stop], where piece is what follows the bytes fed to endings_;
    // columnBack: characters to step back (a sequence carried over is before them).
    void Place(Fault& fault, std::string_view piece, std::size_t stop, std::size_t offset, std::size_t columnBack);
    static void Take(Fault& fault, std::string_view bytes);
    void ScanUtf8(std::string_view piece);

    bool binaryWanted_;
    LineEndingScan endings_;
    HeadScan head_;
    std::size_t offset_ = 0;  // the bytes fed before this piece
    std::string carry_;       // a sequence cut at the end of the last piece
    Fault invalid_;
    Fault binary_;
};

}  // namespace kestrune_tool

#endif
