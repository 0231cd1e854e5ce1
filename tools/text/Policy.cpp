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

}  // namespace

bool ApplyProperty(Policy& policy, const std::string& name, const std::string& value)
{
    if (name == "end_of_line") {
        const char* eol = Is(value, "lf") ? "\n" : Is(value, "crlf") ? "\r\n" : Is(value, "cr") ? "\r" : nullptr;
        if (eol != nullptr) policy.eol = eol;
        return eol != nullptr;
    }
    if (name == "insert_final_newline") {
        if (!Is(value, "true") && !Is(value, "false")) return false;
        policy.finalNewline = Is(value, "true") ? Want::Yes : Want::No;
        return true;
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
    return base;
}

}  // namespace kestrune_tool
