// Where a text goes wrong (its first invalid UTF-8 sequence, or a byte its
// charset has no character for), told as a person looks for it: byte
// offset, line, column and the bytes themselves.
#ifndef KESTRUNE_TOOL_UTF8POSITION_H
#define KESTRUNE_TOOL_UTF8POSITION_H

#include <cstddef>
#include <string>
#include <string_view>

namespace kestrune_tool {

struct TextPosition {
    std::size_t byte = 0;    // offset from the start of the text, from 0
    std::size_t line = 0;    // from 1; CR LF, LF and a lone CR each end a line
    std::size_t column = 0;  // in characters, from 1
    std::string bytes;       // the sequence in hex, "C3 28"; for UTF-8 up to the length its first byte
                             // announces, ending early after a byte that cannot continue it

    // "byte B (line L, column C): XX"
    std::string Words() const;
};

// False when the text is valid UTF-8 throughout.
bool FindInvalidUtf8(std::string_view text, TextPosition& at);

bool IsContinuation(unsigned char byte);

// How many bytes a sequence starting with lead claims; 1 for a byte that
// cannot start one.
std::size_t Announced(unsigned char lead);

// How many bytes at the end of text start a sequence that claims more: 0 to 3.
std::size_t CutSequence(std::string_view text);

// How many of bytes, from an invalid sequence's first byte on, TextPosition
// shows; complete: more bytes after them could not lengthen it.
std::size_t FaultLength(std::string_view bytes, bool& complete);

// False when the text holds no byte that only a binary file holds: NUL, or
// a C0 control other than TAB, LF, VT, FF, CR and ESC (as dos2unix judges).
bool FindBinaryByte(std::string_view text, TextPosition& at);

// Sets at's line and column to those of the place that before (a text's
// bytes up to it) leads to; columns count characters, read as UTF-8 unless
// every byte is one (bytewise).
void PlaceAfter(std::string_view before, bool bytewise, TextPosition& at);

// The bytes in hex, "C3 28".
std::string Hex(std::string_view bytes);

}  // namespace kestrune_tool

#endif
