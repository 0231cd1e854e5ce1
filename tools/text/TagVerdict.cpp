#include "TagVerdict.h"

#include "Conversion.h"

namespace kestrune_tool {

const char* TagVerdict::Word() const
{
    static const char* const words[] = {nullptr, "fits", "utf-8", "invalid", "unknown", "unavailable"};
    return words[kind];
}

std::string TagVerdict::Words() const
{
    if (kind == IsUtf8) return "tag says " + charset + " but the text is UTF-8";
    return "tag says " + charset + ", invalid at " + at.Words();
}

bool BeyondAsciiUtf8(std::string_view text)
{
    TextPosition at;
    for (const char c : text) {
        if ((c & 0x80) != 0) return !FindInvalidUtf8(text, at);
    }
    return false;
}

TagVerdict JudgeTag(const std::string& text, const CatalogHead& head)
{
    TagVerdict verdict;
    if (!head.tagged) return verdict;
    verdict.charset = head.charset;
    const Charset* charset = FindCharset(head.charset);
    if (charset == nullptr) {
        verdict.kind = TagVerdict::Unknown;
        return verdict;
    }
    const std::string_view body = std::string_view(text).substr(head.mark);
    if (charset->form != Form::Utf8 && BeyondAsciiUtf8(body)) {
        verdict.kind = TagVerdict::IsUtf8;
        return verdict;
    }
    // A tag line that reads as ASCII is itself no UTF-16.
    std::string converted;
    const Recoded recoded =
        AsciiCompatible(charset->form) ? ToUtf8(*charset, body, converted, verdict.at) : Recoded::Invalid;
    if (!AsciiCompatible(charset->form)) verdict.at = {0, 1, 1, "3C"};
    verdict.at.byte += head.mark;
    verdict.kind = recoded == Recoded::Unavailable ? TagVerdict::Unavailable
                   : recoded == Recoded::Invalid   ? TagVerdict::Invalid
                                                   : TagVerdict::Fits;  // OneWay: every byte is a character
    return verdict;
}

}  // namespace kestrune_tool
