// editorconfig: the properties that the .editorconfig files give each file,
// printed as EditorConfig's own command prints them.
#include "Commands.h"
#include "EditorConfig.h"
#include "Report.h"

#include <algorithm>
#include <cstdlib>
#include <string>

namespace kestrune_tool {

namespace {

// The version whose rules this resolver follows, as -b compares it.
constexpr long kVersion[] = {0, 12, 6};

// Whether text (MAJOR[.MINOR[.PATCH]], checked as read; null or 0 for ours)
// asks for the rules before 0.9; false (reported) for a version after ours.
bool RulesBefore09(const char* text, bool& before09)
{
    long version[] = {0, 0, 0};
    std::size_t part = 0;
    for (const char* at = text; at != nullptr && *at != '\0' && part < 3; ++part) {
        char* end = nullptr;
        version[part] = std::strtol(at, &end, 10);
        at = *end == '.' ? end + 1 : end;
    }
    if (version[0] == 0 && version[1] == 0 && version[2] == 0) std::copy(kVersion, kVersion + 3, version);
    const auto compare = [&version](const long* other) {
        for (int i = 0; i < 3; ++i) {
            if (version[i] != other[i]) return version[i] < other[i] ? -1 : 1;
        }
        return 0;
    };
    static constexpr long kIndentFromTab[] = {0, 9, 0};
    before09 = compare(kIndentFromTab) < 0;
    if (compare(kVersion) <= 0) return true;
    UsageError("editorconfig", "-b: this resolver follows EditorConfig %ld.%ld.%ld, not a later version", kVersion[0],
               kVersion[1], kVersion[2]);
    return false;
}

}  // namespace

int RunEditorConfig(const Invocation& run)
{
    if (run.showVersion) {
        // In the words of EditorConfig's own command, which its test suite matches.
        Say(false, "EditorConfig (kestrune) Version %ld.%ld.%ld\n", kVersion[0], kVersion[1], kVersion[2]);
        return kYes;
    }
    EditorConfigAsk ask;
    if (!RulesBefore09(run.configVersion, ask.before09)) return kTrouble;
    if (run.configName != nullptr) ask.fileName = run.configName;
    int status = kYes;
    for (const char* name : run.operands) {
        if (run.operands.size() > 1) Say(run.quiet, "[%s]\n", name);
        EditorConfigRules rules;
        std::string error;
        if (!FindEditorConfigRules(name, ask, rules, error)) {
            status = Refused(name, error.c_str());
            continue;
        }
        for (const EditorConfigProperty& property : rules.properties)
            Say(run.quiet, "%s=%s\n", property.name.c_str(), property.value.c_str());
    }
    return status;
}

}  // namespace kestrune_tool
