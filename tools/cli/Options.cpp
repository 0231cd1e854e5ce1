#include "Options.h"

#include "Charsets.h"

#include <strings.h>
#include <cstdlib>
#include <cstring>
#include <iterator>

namespace kestrune_tool {

namespace {

const Option kOptions[] = {
    {"--quiet", "-q", 0, Values::None, [](Invocation& run, const char*) { run.quiet = true; }},
    {"--recursive", "-r", kWalkOptions, Values::None, [](Invocation& run, const char*) { run.walk.recursive = true; }},
    {"--all-files", nullptr, kWalkOptions, Values::None,
     [](Invocation& run, const char*) { run.walk.allFiles = true; }},
    {"--no-ignore", nullptr, kWalkOptions, Values::None,
     [](Invocation& run, const char*) { run.walk.noIgnore = true; }},
    {"--exclude", nullptr, kWalkOptions, Values::Glob,
     [](Invocation& run, const char* value) { run.walk.excludes.push_back(value); }},
    {"--include", nullptr, kWalkOptions, Values::Glob,
     [](Invocation& run, const char* value) { run.walk.includes.push_back(value); }},
    {"--jobs", "-j", kWalkOptions, Values::Number,
     [](Invocation& run, const char* value) {
         run.walk.jobs = static_cast<unsigned>(std::strtoul(value, nullptr, 10));
     }},
    {"--format", nullptr, kFormatOptions, Values::Format,
     [](Invocation& run, const char* value) { run.format = FormatNamed(value); }},
    {"--json", nullptr, kFormatOptions, Values::None, [](Invocation& run, const char*) { run.format = Format::kJson; }},
    {"--eol", nullptr, kRuleOptions, Values::Eol, [](Invocation& run, const char* value) { run.eol = value; }},
    {"--eol", nullptr, kTagOptions, Values::TagEol, [](Invocation& run, const char* value) { run.eol = value; }},
    {"--bom", nullptr, kRuleOptions, Values::YesNo, [](Invocation& run, const char* value) { run.bom = value; }},
    {"--final-newline", nullptr, kRuleOptions, Values::YesNo,
     [](Invocation& run, const char* value) { run.finalNewline = value; }},
    {"--charset", nullptr, kRuleOptions, Values::RuleCharset,
     [](Invocation& run, const char* value) { run.charset = value; }},
    {"--tag", nullptr, kRuleOptions, Values::TagCharset, [](Invocation& run, const char* value) { run.tag = value; }},
    {"--trim", nullptr, kRuleOptions, Values::YesNo, [](Invocation& run, const char* value) { run.trim = value; }},
    {"--indent", nullptr, kRuleOptions, Values::Indent, [](Invocation& run, const char* value) { run.indent = value; }},
    {"--max-line-length", nullptr, kRuleOptions, Values::LineLength,
     [](Invocation& run, const char* value) { run.maxLineLength = value; }},
    {"--config-name", "-f", kEditorConfigOptions, Values::Text,
     [](Invocation& run, const char* value) { run.configName = value; }},
    {"--as-version", "-b", kEditorConfigOptions, Values::Version,
     [](Invocation& run, const char* value) { run.configVersion = value; }},
    {"--version", "-v", kEditorConfigOptions, Values::None,
     [](Invocation& run, const char*) { run.showVersion = true; }},
    {"--dry-run", nullptr, kDryRunOption, Values::None, [](Invocation& run, const char*) { run.dryRun = true; }},
    {"--to-utf8", nullptr, kConvertOptions, Values::None, [](Invocation& run, const char*) { run.toUtf8 = true; }},
    {"--from", nullptr, kConvertOptions, Values::Charset, [](Invocation& run, const char* value) { run.from = value; }},
};

// The words of the values that are a choice among words, null-ended; null for the others.
const char* const* Choices(Values values)
{
    static const char* const kEol[] = {"lf", "crlf", "cr", nullptr};
    static const char* const kTagEol[] = {"crlf", "lf", "cr", "auto", nullptr};
    static const char* const kYesNo[] = {"yes", "no", "true", "false", nullptr};
    static const char* const kFormat[] = {"text", "json", "gcc", "github", "sarif", nullptr};
    return values == Values::Eol      ? kEol
           : values == Values::TagEol ? kTagEol
           : values == Values::YesNo  ? kYesNo
           : values == Values::Format ? kFormat
                                      : nullptr;
}

// Whether value is a number from 1 to most, written without a leading 0.
bool IsCount(const char* value, unsigned long most)
{
    char* end = nullptr;
    const unsigned long number = std::strtoul(value, &end, 10);
    return *value >= '1' && *value <= '9' && *end == '\0' && number <= most;
}

// MAJOR[.MINOR[.PATCH]], each part digits.
bool IsVersion(const char* value)
{
    int parts = 0;
    for (const char* at = value; parts < 3; ++at) {
        const std::size_t digits = std::strspn(at, "0123456789");
        if (digits == 0 || digits > 9) return false;
        ++parts;
        at += digits;
        if (*at == '\0') return true;
        if (*at != '.') return false;
    }
    return false;
}

// The library writes a tag line of at most 256 bytes with its line ending:
// <meta charset=""/> is 18 of them, CR LF 2.
constexpr std::size_t kTagCharsetMax = 256 - 18 - 2;

}  // namespace

const Option* OptionsBegin() { return std::begin(kOptions); }
const Option* OptionsEnd() { return std::end(kOptions); }

bool Takes(const Command& command, const Option& option)
{
    return option.takes == 0 || (command.takes & option.takes) != 0;
}

const Option* FindOption(const char* arg, const Command* command, const char*& attached)
{
    const char* equals = std::strchr(arg, '=');
    const bool isLong = std::strncmp(arg, "--", 2) == 0;
    const std::size_t length = isLong && equals != nullptr ? static_cast<std::size_t>(equals - arg) : std::strlen(arg);
    for (const Option& option : kOptions) {
        if (command != nullptr && !Takes(*command, option)) continue;
        attached = nullptr;
        if (std::strlen(option.name) == length && std::strncmp(arg, option.name, length) == 0) {
            if (length < std::strlen(arg)) attached = equals + 1;
            return &option;
        }
        if (option.alias == nullptr || std::strncmp(arg, option.alias, 2) != 0) continue;
        if (arg[2] == '\0') return &option;
        if (option.values != Values::None) {
            attached = arg + 2;
            return &option;
        }
    }
    attached = nullptr;
    return nullptr;
}

std::string ValueFault(Values values, const char*& value)
{
    if (const char* const* words = Choices(values)) {
        std::string list;
        for (const char* const* word = words; *word != nullptr; ++word) {
            if (strcasecmp(value, *word) == 0) {
                value = *word;
                return {};
            }
            list += (list.empty() ? "" : word[1] == nullptr ? " or " : ", ") + std::string(*word);
        }
        return list;
    }
    if (values == Values::Number && !IsCount(value, 1024)) return "a number from 1 to 1024";
    if (values == Values::Indent) {
        for (const char* word : {"tab", "space"}) {
            if (strcasecmp(value, word) == 0) value = word;
        }
        if (std::strcmp(value, "tab") != 0 && std::strcmp(value, "space") != 0 && !IsCount(value, 1024))
            return "tab, space or a number of spaces from 1 to 1024";
    }
    if (values == Values::LineLength) {
        if (strcasecmp(value, "off") == 0) value = "off";
        if (std::strcmp(value, "off") != 0 && !IsCount(value, 1000000)) return "a number from 1 to 1000000 or off";
    }
    if (values == Values::Version && !IsVersion(value)) return "a version, MAJOR[.MINOR[.PATCH]]";
    if (values == Values::TagCharset &&
        (std::strlen(value) > kTagCharsetMax || std::strpbrk(value, "\r\n\"") != nullptr)) {
        return "a charset name of 1 to " + std::to_string(kTagCharsetMax) + " bytes, without a line break or '\"'";
    }
    return {};
}

std::string OfferedWords(Values values)
{
    std::string words;
    if (const char* const* choices = Choices(values)) {
        for (; *choices != nullptr; ++choices) words += std::string(words.empty() ? "" : " ") + *choices;
    } else if (values == Values::Charset || values == Values::TagCharset) {
        for (const Charset* charset = AllCharsets(); charset->name != nullptr; ++charset)
            words += std::string(words.empty() ? "" : " ") + charset->name;
    } else if (values == Values::RuleCharset) {
        words = "latin1 utf-8 utf-8-bom utf-16be utf-16le";
    } else if (values == Values::Indent) {
        words = "tab space";
    } else if (values == Values::LineLength) {
        words = "off";
    }
    return words;
}

}  // namespace kestrune_tool
