#include "LineEndings.h"

#include "Utf8Position.h"

#include <algorithm>
#include <cstring>

namespace kestrune_tool {

LineEndings CountLineEndings(const char* text, std::size_t size)
{
    // Every LF counted at once, then each CR looked at where it stands.
    LineEndings count;
    const char* end = text + size;
    const auto lfs = static_cast<std::size_t>(std::count(text, end, '\n'));
    for (const char* cr = text; (cr = static_cast<const char*>(std::memchr(cr, '\r', end - cr))) != nullptr; ++cr) {
        if (cr + 1 < end && cr[1] == '\n') {
            ++count.crlf;
        } else {
            ++count.cr;
        }
    }
    count.lf = lfs - count.crlf;
    return count;
}

const char* FirstLineEnding(std::string_view text)
{
    const std::size_t at = text.find_first_of("\r\n");
    if (at == std::string_view::npos) return nullptr;
    if (text[at] == '\n') return "\n";
    return text.compare(at, 2, "\r\n") == 0 ? "\r\n" : "\r";
}

void LineEndingScan::Feed(std::string_view piece)
{
    if (piece.empty()) return;
    if (first_ == nullptr) {
        // A CR that ended the last piece decides with this one's first byte.
        first_ = cr_ ? (piece[0] == '\n' ? "\r\n" : "\r") : FirstLineEnding(piece);
        if (first_ != nullptr && first_[0] == '\r' && first_[1] == '\0' && !cr_ && piece.back() == '\r' &&
            piece.find_first_of("\r\n") == piece.size() - 1)
            first_ = nullptr;  // the piece's only ending is its last byte: it waits too
    }
    if (cr_) {
        cr_ = false;
        if (piece[0] == '\n') {
            ++count_.crlf;
            piece.remove_prefix(1);
        } else {
            ++count_.cr;
        }
    }
    cr_ = !piece.empty() && piece.back() == '\r';
    const LineEndings counted = CountLineEndings(piece.data(), piece.size() - cr_);
    count_.crlf += counted.crlf;
    count_.lf += counted.lf;
    count_.cr += counted.cr;
    const std::size_t last = piece.find_last_of("\r\n");
    if (last != std::string_view::npos) column_ = 1;
    for (std::size_t i = last == std::string_view::npos ? 0 : last + 1; i < piece.size(); ++i)
        column_ += !IsContinuation(static_cast<unsigned char>(piece[i]));
}

LineEndings LineEndingScan::Counts() const
{
    LineEndings counts = count_;
    counts.cr += cr_;
    return counts;
}

}  // namespace kestrune_tool
