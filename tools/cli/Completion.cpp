// Bash completion, printed by --completion bash at build time from the
// command table and the option table that the arguments are read with, so
// that what it offers is what the commands take.
#include "Commands.h"
#include "Help.h"
#include "Options.h"
#include "Report.h"

#include <string>
#include <utility>
#include <vector>

namespace kestrune_tool {

namespace {

// Adds word to the space-separated words unless it is there.
void AddWord(std::string& words, const std::string& word)
{
    if ((" " + words + " ").find(" " + word + " ") == std::string::npos) words += (words.empty() ? "" : " ") + word;
}

// What completion does after an option of these values: offer its words, nothing, or file names.
std::string ValueReply(Values values)
{
    if (values == Values::Text) return "COMPREPLY=($(compgen -f -- \"$cur\"))";
    const std::string words = OfferedWords(values);
    return words.empty() ? "COMPREPLY=()" : "COMPREPLY=($(compgen -W '" + words + "' -- \"$cur\"))";
}

// Adds "COMMAND NAME" (for each name of option) as a case of what follows it.
void AddValueCase(std::vector<std::pair<std::string, std::string>>& cases, const std::string& command,
                  const Option& option)
{
    std::string patterns = "'" + command + " " + option.name + "'";
    if (option.alias != nullptr) patterns += "|'" + command + " " + option.alias + "'";
    const std::string reply = ValueReply(option.values);
    for (auto& [replyOf, patternsOf] : cases) {
        if (replyOf == reply) {
            patternsOf += "|" + patterns;
            return;
        }
    }
    cases.emplace_back(reply, patterns);
}

}  // namespace

int ShowCompletion()
{
    std::string commands;
    std::string commandCases;
    std::string anyOption;
    std::string valueOptions;
    std::vector<std::pair<std::string, std::string>> valueCases;
    for (const Option* option = OptionsBegin(); option != OptionsEnd(); ++option) {
        // Before the command any option may come; its values are those of its first row.
        if (option->values != Values::None &&
            (" " + valueOptions + " ").find(" " + std::string(option->name) + " ") == std::string::npos) {
            AddValueCase(valueCases, "", *option);
            AddWord(valueOptions, option->name);
            if (option->alias != nullptr) AddWord(valueOptions, option->alias);
        }
        AddWord(anyOption, option->alias != nullptr ? option->alias : option->name);
        AddWord(anyOption, option->name);
    }
    for (const Command* command = CommandsBegin(); command != CommandsEnd(); ++command) {
        commands += std::string(command->name) + " ";
        std::string options;
        for (const Option* option = OptionsBegin(); option != OptionsEnd(); ++option) {
            if (!Takes(*command, *option)) continue;
            if (option->alias != nullptr) AddWord(options, option->alias);
            AddWord(options, option->name);
            if (option->values != Values::None) AddValueCase(valueCases, command->name, *option);
        }
        commandCases += "    " + std::string(command->name) + ") options='" + options + " --help' ;;\n";
    }
    // Once each: editorconfig has a --version of its own.
    for (const char* word : {"-h", "--help", "--version"}) AddWord(anyOption, word);
    std::string values;
    for (const auto& [reply, patterns] : valueCases)
        values.append("    ").append(patterns).append(") ").append(reply).append("; return ;;\n");
    std::string valuePattern = valueOptions;
    for (char& c : valuePattern) c = c == ' ' ? '|' : c;

    std::string script = "# bash completion for kestrune, printed by kestrune --completion bash\n_kestrune()\n{\n";
    script += "    local cur=${COMP_WORDS[COMP_CWORD]} prev=${COMP_WORDS[COMP_CWORD-1]} command= options i\n";
    script += "    for ((i = 1; i < COMP_CWORD; i++)); do\n        case ${COMP_WORDS[i]} in\n";
    script += "        " + valuePattern + ") i=$((i + 1)) ;;\n        -*) ;;\n";
    script += "        *) command=${COMP_WORDS[i]}; break ;;\n        esac\n    done\n";
    script += "    case \"$command $prev\" in\n" + values + "    esac\n    case $command in\n";
    script += "    '') options='" + anyOption + "' ;;\n";
    script += "    help) COMPREPLY=($(compgen -W '" + commands + "' -- \"$cur\")); return ;;\n" + commandCases;
    script += "    esac\n    if [[ $cur == -* ]]; then\n        COMPREPLY=($(compgen -W \"$options\" -- \"$cur\"))\n";
    script +=
        "    elif [ -z \"$command\" ]; then\n        COMPREPLY=($(compgen -W '" + commands + "help' -- \"$cur\"))\n";
    script += "    else\n        local IFS=$'\\n'\n        COMPREPLY=($(compgen -f -- \"$cur\"))\n    fi\n}\n";
    return Show(script + "complete -o filenames -F _kestrune kestrune\n");
}

}  // namespace kestrune_tool
