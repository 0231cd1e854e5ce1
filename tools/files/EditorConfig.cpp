#include "EditorConfig.h"

#include "Report.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <mutex>
#include <sstream>
#include <system_error>
#include <unordered_map>
#include <vector>

namespace kestrune_tool {

namespace {

namespace fs = std::filesystem;

// What stands at one directory's .editorconfig, looked at once in a run.
struct Config {
    std::string directory;  // absolute, '/' between names
    std::string absolute;   // the .editorconfig's path, as the system writes it
    std::string relative;   // the same relative to the current directory (absolute when it cannot be)
    std::unique_ptr<const EditorConfigFile> file;  // null when there is none
    std::string trouble;                           // why it cannot be used, after its path; empty when it can
};

// The .editorconfig files for the files of one directory, nearest first, up to a root.
struct Chain {
    std::vector<const Config*> configs;
    const Config* trouble = nullptr;  // the nearest that cannot be used
};

const fs::path& CurrentDirectory()
{
    static const fs::path current = [] {
        std::error_code failed;
        return fs::current_path(failed);
    }();
    return current;
}

void Load(Config& config, const std::string& fileName)
{
    const fs::path path = fs::u8path(config.directory) / fs::u8path(fileName);
    config.absolute = path.u8string();
    const fs::path relative = path.lexically_relative(CurrentDirectory());
    config.relative = relative.empty() ? config.absolute : relative.u8string();
    std::error_code failed;
    const fs::file_type type = fs::status(path, failed).type();
    if (type == fs::file_type::not_found || type == fs::file_type::none) return;
    // A FIFO would keep the run waiting, a device might never end.
    if (type != fs::file_type::regular) {
        config.trouble = ": not a regular file";
        return;
    }
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    if (!in) {
        config.trouble = ": cannot read";
        return;
    }
    auto file = std::make_unique<EditorConfigFile>(ParseEditorConfig(text.str()));
    if (file->badLine != 0) {
        config.trouble =
            ", line " + std::to_string(file->badLine) + ": neither a [section], a name = value pair nor a comment";
        return;
    }
    config.file = std::move(file);
}

// Every directory's .editorconfig and chain, by directory and file name.
class Cache {
public:
    const Config& ConfigIn(const std::string& directory, const std::string& fileName)
    {
        Slot<Config>& slot = Find(configs_, directory, fileName);
        std::call_once(slot.once, [&] {
            slot.value.directory = directory;
            Load(slot.value, fileName);
        });
        return slot.value;
    }

    const Chain& ChainOf(const std::string& directory, const std::string& fileName)
    {
        Slot<Chain>& slot = Find(chains_, directory, fileName);
        std::call_once(slot.once, [&] {
            fs::path at = fs::u8path(directory);
            for (;;) {
                const Config& config = ConfigIn(at.generic_u8string(), fileName);
                if (!config.trouble.empty()) {
                    slot.value.trouble = &config;
                    break;
                }
                if (config.file != nullptr) slot.value.configs.push_back(&config);
                if ((config.file != nullptr && config.file->root) || at == at.parent_path()) break;
                at = at.parent_path();
            }
        });
        return slot.value;
    }

private:
    template <typename T>
    struct Slot {
        std::once_flag once;
        T value;
    };
    template <typename T>
    using Map = std::unordered_map<std::string, std::unique_ptr<Slot<T>>>;

    template <typename T>
    Slot<T>& Find(Map<T>& map, const std::string& directory, const std::string& fileName)
    {
        std::string key = directory;
        key.append(1, '\0').append(fileName);
        const std::lock_guard<std::mutex> lock(mutex_);
        std::unique_ptr<Slot<T>>& slot = map[key];
        if (slot == nullptr) slot = std::make_unique<Slot<T>>();
        return *slot;
    }

    std::mutex mutex_;
    Map<Config> configs_;
    Map<Chain> chains_;
};

// Whether name is taken from the current directory.
bool IsRelative(const char* name)
{
#ifdef _WIN32
    return fs::u8path(name).is_relative();
#else
    return name[0] != '/';
#endif
}

// name as an absolute path with '/' between names, without "." or "..".
std::string AbsoluteName(const char* name)
{
    // The common case, a plain relative name ("./" first, as a walk of "." gives them), joined as text.
    std::string text = name;
#ifdef _WIN32
    std::replace(text.begin(), text.end(), '\\', '/');
#endif
    while (text.compare(0, 2, "./") == 0) text.erase(0, 2);
    const bool plain = IsRelative(name) && !text.empty() && text.find("/.") == std::string::npos &&
                       text.find("//") == std::string::npos && text[0] != '.' && text.find(':') == std::string::npos;
    static const std::string current = CurrentDirectory().generic_u8string();
    if (plain && !current.empty()) return current + (current.back() == '/' ? "" : "/") + text;
    std::error_code failed;
    return fs::absolute(fs::u8path(name), failed).lexically_normal().generic_u8string();
}

}  // namespace

bool FindEditorConfigRules(const char* name, const EditorConfigAsk& ask, EditorConfigRules& rules, std::string& error)
{
    static Cache cache;
    const std::string path = AbsoluteName(name);
    const std::size_t slash = path.rfind('/');
    if (slash == std::string::npos) return true;
    const std::string directory = path.substr(0, slash == 0 || path[slash - 1] == ':' ? slash + 1 : slash);
    const Chain& chain = cache.ChainOf(directory, ask.fileName);
    const bool relative = IsRelative(name);
    if (chain.trouble != nullptr) {
        error = (relative ? chain.trouble->relative : chain.trouble->absolute) + chain.trouble->trouble;
        return false;
    }
    std::vector<EditorConfigUse> uses;
    for (auto config = chain.configs.rbegin(); config != chain.configs.rend(); ++config) {
        const std::string& under = (*config)->directory;
        const std::size_t skip = under.size() + (under.back() == '/' ? 0 : 1);
        uses.push_back({(*config)->file.get(), relative ? &(*config)->relative : &(*config)->absolute,
                        path.substr(std::min(skip, path.size()))});
    }
    rules = ResolveEditorConfig(uses, ask.before09);
    return true;
}

bool ReadEditorConfig(const char* name, Policy& policy, std::string& error)
{
    EditorConfigRules rules;
    if (!FindEditorConfigRules(name, EditorConfigAsk(), rules, error)) return false;
    for (const EditorConfigProperty& property : rules.properties) {
        if (!ApplyProperty(policy, property.name, property.value) && property.shown != nullptr) {
            NoteOnce("kestrune: " + *property.shown + ":" + std::to_string(property.line) + ": " + property.name +
                     " = " + property.value + " is not a value it takes: the rule is not held\n");
        }
    }
    policy.from = std::move(rules.from);
    return true;
}

}  // namespace kestrune_tool
