#include "ToUtf8.h"

#include "CatalogHead.h"
#include "Conversion.h"
#include "Report.h"
#include "TagVerdict.h"

#include <utility>

namespace kestrune_tool {

namespace {

int Refuse(const char* name, const std::string& why) { return Refused(name, (why + ": not converted").c_str()); }

// The charset the text declares and how it does ("tag says X"), skip the
// bytes of a mark that is not part of the text; null when it declares none.
const Charset* Declared(const Invocation& run, const std::string& text, const Policy& policy, std::string& said,
                        std::size_t& skip, bool& named)
{
    const CatalogHead head = ReadHead(text);
    skip = head.mark;
    named = true;
    if (run.from != nullptr) {
        said = std::string("--from ") + run.from;
        return FindCharset(run.from);
    }
    if (head.tagged) {
        said = "tag says " + head.charset;
        return FindCharset(head.charset);
    }
    named = false;
    for (const auto& [mark, utf16] : {std::pair{"\xFF\xFE", "UTF-16LE"}, std::pair{"\xFE\xFF", "UTF-16BE"}}) {
        if (text.compare(0, 2, mark) != 0) continue;
        said = std::string(utf16) + " mark";
        skip = 2;
        return FindCharset(utf16);
    }
    said = "charset latin1";
    return policy.utf8 == Want::No ? FindCharset("ISO-8859-1") : nullptr;
}

}  // namespace

bool ConvertText(const Invocation& run, const char* name, std::string& text, Policy& policy, std::string& from,
                 int& status)
{
    std::string said;
    std::size_t skip = 0;
    bool named = false;
    const Charset* charset = Declared(run, text, policy, said, skip, named);
    TextPosition at;
    status = kTrouble;
    if (charset == nullptr && named) {
        Refuse(name, said + ", a charset kestrune does not know (give --from)");
        return false;
    }
    if (charset == nullptr) charset = FindCharset("UTF-8");
    // A tag line that reads as ASCII is itself no UTF-16.
    if (named && run.from == nullptr && !AsciiCompatible(charset->form)) {
        Refuse(name, JudgeTag(text, ReadHead(text)).Words());
        return false;
    }
    // UTF-8 already: checked, and left to the other rules.
    if (charset->form == Form::Utf8 && !FindInvalidUtf8(text, at)) {
        status = kYes;
        return true;
    }
    // Converting a UTF-8 text again would garble every character past ASCII, whatever --from says.
    if (charset->form != Form::Utf8 && (text.compare(0, 3, "\xEF\xBB\xBF") == 0 || BeyondAsciiUtf8(text))) {
        const CatalogHead head = ReadHead(text);
        const Charset* tagged = head.tagged ? FindCharset(head.charset) : nullptr;
        const bool lies = head.tagged && (tagged == nullptr || tagged->form != Form::Utf8);
        Refuse(name, "already UTF-8" +
                         (lies ? " (tag says " + head.charset + "; kestrune fix --tag UTF-8 corrects it)" : ""));
        return false;
    }
    std::string converted;
    switch (ToUtf8(*charset, std::string_view(text).substr(skip), converted, at)) {
        case Recoded::Done: break;
        case Recoded::Unavailable:
            Refuse(name, std::string("this system cannot convert ") + charset->name);
            return false;
        case Recoded::OneWay:
            at.byte += skip;
            Refuse(name, said + ": " + at.Words() + " would not convert back to the same bytes");
            return false;
        case Recoded::Invalid:
            at.byte += skip;
            Refuse(name, charset->form != Form::Utf8 || named
                             ? said + ", invalid at " + at.Words()
                             : "invalid UTF-8 at " + at.Words() +
                                   ", and no charset is declared (no tag line, UTF-16 mark or .editorconfig charset; "
                                   "give --from)");
            return false;
    }
    status = kYes;
    policy.utf8 = Want::Yes;
    if (policy.bom == Want::Unset) policy.bom = Want::No;
    const bool tagged = ReadHead(converted).tagged;
    if (tagged) policy.tag = "UTF-8";
    if (tagged || converted != text) from = charset->name;
    text.swap(converted);
    return true;
}

}  // namespace kestrune_tool
