#include "TextScan.h"

#include <algorithm>

namespace kestrune_tool {

void TextScan::Feed(std::string_view piece)
{
    head_.Feed(piece);
    if (!invalid_.found) ScanUtf8(piece);
    if (binaryWanted_ && !binary_.found) {
        TextPosition at;
        if (FindBinaryByte(piece, at)) {
            Place(binary_, piece, at.byte, offset_ + at.byte, 0);
            Take(binary_, piece.substr(at.byte, 1));
            binary_.complete = true;
        }
    }
    endings_.Feed(piece);
    offset_ += piece.size();
}

void TextScan::ScanUtf8(std::string_view piece)
{
    // A sequence cut at the last piece's end is judged once it has all the
    // bytes its first one claims, or a byte that cannot continue it.
    std::size_t from = 0;
    if (!carry_.empty()) {
        const std::size_t claimed = Announced(static_cast<unsigned char>(carry_[0]));
        while (from < piece.size() && carry_.size() < claimed &&
               IsContinuation(static_cast<unsigned char>(piece[from])))
            carry_ += piece[from++];
        if (carry_.size() < claimed && from == piece.size()) return;
        TextPosition at;
        if (FindInvalidUtf8(carry_, at)) {
            // Its first byte, among those fed before, counted one character; the others continue it.
            Place(invalid_, {}, 0, offset_ + from - carry_.size(), 1);
            Take(invalid_, carry_);
            Take(invalid_, piece.substr(from));
            return;
        }
        carry_.clear();
    }
    const std::string_view rest = piece.substr(from);
    const std::size_t cut = CutSequence(rest);
    TextPosition at;
    if (FindInvalidUtf8(rest.substr(0, rest.size() - cut), at)) {
        const std::size_t stop = from + at.byte;
        Place(invalid_, piece, stop, offset_ + stop, 0);
        Take(invalid_, piece.substr(stop));
        return;
    }
    carry_.assign(rest.substr(rest.size() - cut));
}

void TextScan::Finish()
{
    if (!invalid_.found && !carry_.empty()) {
        // Cut short by the end of the text.
        Place(invalid_, {}, 0, offset_ - carry_.size(), 1);
        Take(invalid_, carry_);
    }
    invalid_.complete = binary_.complete = true;
}

void TextScan::Place(Fault& fault, std::string_view piece, std::size_t stop, std::size_t offset, std::size_t columnBack)
{
    LineEndingScan before = endings_;
    before.Feed(piece.substr(0, stop));
    fault.found = true;
    fault.at.byte = offset;
    fault.at.line = before.Line();
    fault.at.column = before.Column() - columnBack;
}

void TextScan::Take(Fault& fault, std::string_view bytes)
{
    if (!fault.found || fault.complete || bytes.empty()) return;
    fault.bytes.append(bytes.substr(0, 4));
    fault.bytes.resize(FaultLength(fault.bytes, fault.complete));
}

bool TextScan::Found(const Fault& fault, TextPosition& at)
{
    if (!fault.found) return false;
    at = fault.at;
    at.bytes = Hex(fault.bytes);
    return true;
}

}  // namespace kestrune_tool
