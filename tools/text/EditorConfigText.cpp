#include "EditorConfigText.h"

#include <algorithm>
#include <cstring>

namespace kestrune_tool {

namespace {

constexpr std::size_t kMostSection = 4096;
constexpr std::size_t kMostName = 1024;
constexpr std::size_t kMostValue = 4096;

bool IsSpace(char c) { return c != '\0' && std::strchr(" \t\n\v\f\r", c) != nullptr; }

std::string_view Trimmed(std::string_view text)
{
    while (!text.empty() && IsSpace(text.front())) text.remove_prefix(1);
    while (!text.empty() && IsSpace(text.back())) text.remove_suffix(1);
    return text;
}

// Where text has the character wanted, or else a comment that a space comes before: its place, or text's end.
std::size_t Before(std::string_view text, char wanted)
{
    for (std::size_t at = 0; at < text.size(); ++at) {
        if (text[at] == wanted || ((text[at] == '#' || text[at] == ';') && at > 0 && IsSpace(text[at - 1]))) return at;
    }
    return text.size();
}

std::string Lower(std::string_view text)
{
    std::string lower(text);
    for (char& c : lower) c = c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
    return lower;
}

// The properties whose values are words in any letter case.
bool ValueIsWord(const std::string& name)
{
    for (const char* word : {"end_of_line", "indent_style", "indent_size", "insert_final_newline",
                             "trim_trailing_whitespace", "charset"}) {
        if (name == word) return true;
    }
    return false;
}

}  // namespace

EditorConfigFile ParseEditorConfig(std::string_view text)
{
    EditorConfigFile file;
    if (text.substr(0, 3) == "\xEF\xBB\xBF") text.remove_prefix(3);
    bool inSection = false;  // pairs before the first section (or in a "[]") are the preamble's
    std::size_t number = 0;
    while (!text.empty()) {
        const std::size_t end = std::min(text.find('\n'), text.size());
        const std::string_view line = Trimmed(text.substr(0, end));
        text.remove_prefix(std::min(end + 1, text.size()));
        ++number;
        if (line.empty() || line[0] == '#' || line[0] == ';') continue;
        if (line[0] == '[') {
            // The last ']' before a comment closes the name.
            const std::string_view inside = line.substr(1);
            const std::size_t close = inside.substr(0, Before(inside, '\0')).rfind(']');
            if (close == std::string_view::npos) {
                file.badLine = file.badLine != 0 ? file.badLine : number;
            } else if (close <= kMostSection) {
                inSection = close != 0;
                if (inSection) file.sections.push_back({Glob(inside.substr(0, close)), number, {}});
            }
            continue;
        }
        std::size_t sign = Before(line, '=');
        if (sign == line.size() || line[sign] != '=') sign = Before(line, ':');
        if (sign == line.size() || (line[sign] != '=' && line[sign] != ':')) {
            file.badLine = file.badLine != 0 ? file.badLine : number;
            continue;
        }
        const std::string_view name = Trimmed(line.substr(0, sign));
        std::string_view value = Trimmed(line.substr(sign + 1));
        value = Trimmed(value.substr(0, Before(value, '\0')));
        if (name.size() > kMostName || value.size() > kMostValue) continue;
        EditorConfigPair pair{Lower(name), std::string(value), number};
        if (ValueIsWord(pair.name)) pair.value = Lower(pair.value);
        if (inSection) {
            file.sections.back().pairs.push_back(std::move(pair));
        } else {
            file.root |= pair.name == "root" && Lower(pair.value) == "true";
        }
    }
    return file;
}

namespace {

EditorConfigProperty* Find(std::vector<EditorConfigProperty>& properties, const char* name)
{
    const auto it = std::find_if(properties.begin(), properties.end(),
                                 [name](const EditorConfigProperty& property) { return property.name == name; });
    return it != properties.end() ? &*it : nullptr;
}

}  // namespace

EditorConfigRules ResolveEditorConfig(const std::vector<EditorConfigUse>& uses, bool before09)
{
    EditorConfigRules rules;
    std::vector<EditorConfigProperty>& all = rules.properties;
    for (const EditorConfigUse& use : uses) {
        for (const EditorConfigSection& section : use.file->sections) {
            if (section.pairs.empty() || !section.glob.Matches(use.path)) continue;
            rules.from.push_back(*use.shown + ":" + std::to_string(section.line));
            for (const EditorConfigPair& pair : section.pairs) {
                EditorConfigProperty* known = Find(all, pair.name.c_str());
                if (known == nullptr) {
                    all.push_back({pair.name, pair.value, use.shown, pair.line});
                } else {
                    *known = {pair.name, pair.value, use.shown, pair.line};
                }
            }
        }
    }
    const auto derived = [&all](const char* name, const std::string& value) {
        all.push_back({name, value, nullptr, 0});
    };
    if (!before09) {
        const EditorConfigProperty* style = Find(all, "indent_style");
        if (style != nullptr && style->value == "tab" && Find(all, "indent_size") == nullptr)
            derived("indent_size", "tab");
        EditorConfigProperty* size = Find(all, "indent_size");
        const EditorConfigProperty* width = Find(all, "tab_width");
        if (size != nullptr && width != nullptr && size->value == "tab") size->value = Lower(width->value);
    }
    const EditorConfigProperty* size = Find(all, "indent_size");
    if (size != nullptr && Find(all, "tab_width") == nullptr && (before09 || size->value != "tab"))
        derived("tab_width", std::string(size->value));
    return rules;
}

}  // namespace kestrune_tool
