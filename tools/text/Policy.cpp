#include "Policy.h"

#include <strings.h>

namespace kestrune_tool {

namespace {

bool Is(const std::string& value, const char* word) { return strcasecmp(value.c_str(), word) == 0; }

bool ApplyCharset(Policy& policy, const std::string& value)
{
    if (Is(value, "utf-8") || Is(value, "utf-8-bom")) {
        policy.utf8 = Want::Yes;
        policy.bom = Is(value, "utf-8") ? Want::No : Want::Yes;
    } else if (Is(value, "latin1")) {
        policy.utf8 = Want::No;  // any byte will do
    } else {
        policy.unsupported = value;  // named, but never guessed at
    }
    return true;
}

// A whole number from 1 on, or 0.
std::size_t Count(const std::string& value)
{
    std::size_t count = 0;
    for (const char c : value) {
        if (c < '0' || c > '9' || count > 100000000) return 0;
        count = count * 10 + static_cast<std::size_t>(c - '0');
    }
    return count;
}

bool ApplyYesNo(Want& want, const std::string& value)
{
    if (!Is(value, "true") && !Is(value, "false")) return false;
    want = Is(value, "true") ? Want::Yes : Want::No;
    return true;
}

}  // namespace

bool ApplyProperty(Policy& policy, const std::string& name, const std::string& value)
{
    if (Is(value, "unset")) return true;  // given, to take away what an earlier section or file said
    if (name == "end_of_line") {
        const char* eol = Is(value, "lf") ? "\n" : Is(value, "crlf") ? "\r\n" : Is(value, "cr") ? "\r" : nullptr;
        if (eol != nullptr) policy.eol = eol;
        return eol != nullptr;
    }
    if (name == "insert_final_newline") return ApplyYesNo(policy.finalNewline, value);
    if (name == "trim_trailing_whitespace") return ApplyYesNo(policy.trim, value);
    if (name == "indent_style") {
        const Indent indent = Is(value, "tab") ? Indent::Tab : Is(value, "space") ? Indent::Space : Indent::Unset;
        if (indent != Indent::Unset) policy.indent = indent;
        return indent != Indent::Unset;
    }
    // "tab": as wide as tab_width, which the resolver has put here when given.
    if (name == "indent_size" || name == "tab_width") {
        if (name == "indent_size" && Is(value, "tab")) return true;
        if (name == "indent_size" && Count(value) != 0) policy.indentSize = Count(value);
        return Count(value) != 0;
    }
    if (name == "max_line_length") {
        policy.lineLimit = Is(value, "off") ? Want::No : Count(value) != 0 ? Want::Yes : policy.lineLimit;
        if (Count(value) != 0) policy.maxLine = Count(value);
        return Is(value, "off") || Count(value) != 0;
    }
    return name != "charset" || ApplyCharset(policy, value);
}

Policy Overlay(Policy base, const Policy& over)
{
    if (over.eol != nullptr) base.eol = over.eol;
    if (over.bom != Want::Unset) base.bom = over.bom;
    if (over.finalNewline != Want::Unset) base.finalNewline = over.finalNewline;
    if (over.utf8 != Want::Unset) base.utf8 = over.utf8;
    if (!over.tag.empty()) base.tag = over.tag;
    if (!over.unsupported.empty() || over.utf8 != Want::Unset) base.unsupported = over.unsupported;
    if (over.trim != Want::Unset) base.trim = over.trim;
    if (over.indent != Indent::Unset) {
        base.indent = over.indent;
        if (over.indentSize != 0) base.indentSize = over.indentSize;
    }
    if (over.lineLimit != Want::Unset) {
        base.lineLimit = over.lineLimit;
        base.maxLine = over.maxLine;
    }
    return base;
}

}  // namespace kestrune_tool
