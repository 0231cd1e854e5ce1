// Bash completion, printed by --completion bash at build time from the same
// help texts as --help and the manual page, so that the three never drift.
#include "Commands.h"
#include "Help.h"
#include "Report.h"

#include <algorithm>
#include <cstring>
#include <string>

namespace kestrune_tool {

namespace {

// The options a help text names ("-q", "--eol" after a space, a '[' or a line
// start; a command's rules are in its details), each once, joined by spaces. values gets a case for each option
// followed by its choices ("--eol crlf|lf|cr|auto").
std::string Options(const std::string& text, std::string* values = nullptr)
{
    std::string words = " ";
    for (std::size_t at = 0; at < text.size(); ++at) {
        if (text[at] != '-' || (at > 0 && std::strchr(" [\n", text[at - 1]) == nullptr)) continue;
        std::size_t end = text.find_first_not_of('-', at);
        if (end == std::string::npos || end - at > 2 || text[end] < 'a' || text[end] > 'z') continue;
        end = std::min(text.find_first_not_of("abcdefghijklmnopqrstuvwxyz0123456789-", end), text.size());
        const std::string word = text.substr(at, end - at);
        if (words.find(" " + word + " ") == std::string::npos) words += word + " ";
        if (values != nullptr && end < text.size() && text[end] == ' ') {
            const std::size_t choicesEnd = std::min(text.find_first_of("] \n", end + 1), text.size());
            std::string choices = text.substr(end + 1, choicesEnd - end - 1);
            if (choices.find('|') != std::string::npos && values->find(word + ")") == std::string::npos) {
                for (char& c : choices) c = c == '|' ? ' ' : c;
                values->append("    ").append(word).append(") COMPREPLY=($(compgen -W '").append(choices);
                values->append("' -- \"$cur\")); return ;;\n");
            }
        }
        at = end - 1;
    }
    return words.substr(1, words.size() - 2);
}

}  // namespace

int ShowCompletion()
{
    std::string commands;
    std::string values;
    std::string cases;
    for (const Command* command = CommandsBegin(); command != CommandsEnd(); ++command) {
        commands += std::string(command->name) + " ";
        cases += "    " + std::string(command->name) + ") options='" + Options(CommandText(*command), &values) +
                 " --help' ;;\n";
    }
    std::string script = "# bash completion for kestrune, printed by kestrune --completion bash\n_kestrune()\n{\n";
    script += "    local cur=${COMP_WORDS[COMP_CWORD]} prev=${COMP_WORDS[COMP_CWORD-1]} command= options i\n";
    script += "    for ((i = 1; i < COMP_CWORD; i++)); do\n";
    script += "        [[ ${COMP_WORDS[i]} == -* ]] || { command=${COMP_WORDS[i]}; break; }\n    done\n";
    script += "    case $prev in\n" + values + "    esac\n    case $command in\n";
    script += "    '') options='" + Options(OverviewText()) + "' ;;\n";
    script += "    help) COMPREPLY=($(compgen -W '" + commands + "' -- \"$cur\")); return ;;\n" + cases + "    esac\n";
    script += "    if [[ $cur == -* ]]; then\n        COMPREPLY=($(compgen -W \"$options\" -- \"$cur\"))\n";
    script +=
        "    elif [ -z \"$command\" ]; then\n        COMPREPLY=($(compgen -W '" + commands + "help' -- \"$cur\"))\n";
    script += "    else\n        local IFS=$'\\n'\n        COMPREPLY=($(compgen -f -- \"$cur\"))\n    fi\n}\n";
    return Show(script + "complete -o filenames -F _kestrune kestrune\n");
}

}  // namespace kestrune_tool
