// kestrune: runs the Kestrune helpers on files named on the command line.
// This file reads the arguments, holds the help texts and picks the command.
#include "Commands.h"
#include "Report.h"
#include "Utf8Arguments.h"

#include <cstdio>
#include <cstring>

namespace kestrune_tool {

namespace {

struct Command {
    const char* name;
    const char* operands;  // as the overview shows them
    const char* options;   // the command's own options, for its usage line
    const char* summary;   // one line for the overview
    const char* details;   // the command's help after its usage line
    int (*run)(const Invocation&);
    std::size_t minOperands;
    std::size_t maxOperands;
    bool tagOptions;    // takes --eol and --force
    bool optionsFirst;  // options only before the first operand, so that any text can be echoed
};

constexpr std::size_t kAny = static_cast<std::size_t>(-1);

const Command kCommands[] = {
    {"eol", "FILE...", "", "which end-of-line convention each file uses",
     "Prints FILE: CRLF, FILE: LF or FILE: CR after the first line ending in the\n"
     "file, or FILE: none found (default CRLF) when it has none.\n"
     "Exit status 0 when every file has a line ending, 1 when one has none.\n",
     RunEol, 1, kAny, false, false},
    {"bom", "FILE...", "", "whether each file starts with a UTF-8 byte-order mark",
     "Prints FILE: yes when the file starts with the bytes EF BB BF, else FILE: no.\n"
     "Exit status 0 when every file has the mark, 1 when one has not.\n",
     RunBom, 1, kAny, false, false},
    {"utf8", "FILE...", "", "whether each file is valid UTF-8 throughout",
     "Reads each file whole and prints FILE: valid or FILE: invalid (RFC 3629: no\n"
     "overlong forms, no surrogates, nothing above U+10FFFF; an empty file is\n"
     "valid). A character cut short by the end of the file is not judged when the\n"
     "file ends exactly where one of its 4096-byte reads does.\n"
     "Exit status 0 when every file is valid, 1 when one is not.\n",
     RunUtf8, 1, kAny, false, false},
    {"tag", "FILE CHARSET", " [--eol crlf|lf|cr|auto] [--force]", "overwrite the head of FILE with a charset tag line",
     "Writes the line <meta charset=\"CHARSET\"/> over the first bytes of FILE.\n"
     "Nothing is inserted: the bytes the line covers are LOST. So it refuses a\n"
     "file that is not empty unless --force is given. FILE must exist; make an\n"
     "empty one with ': > FILE' first, then add the text after the tag line.\n"
     "  --eol E   end the line with CRLF, LF or CR; auto (the default) uses the\n"
     "            convention the file already has, CRLF when it has none\n"
     "  --force   overwrite the head of a file that is not empty\n"
     "Exit status 0 when the line was written, 2 otherwise.\n",
     RunTag, 2, 2, true, false},
    {"compare", "FIRST SECOND", "", "whether two catalogs say the same, line endings aside",
     "Prints FIRST vs SECOND: same or different. CR and LF bytes, and each file's\n"
     "leading byte-order mark and <meta charset=\"...\"/> line, are ignored.\n"
     "FIRST must be a *.velnls file. The comparison runs until SECOND's text is\n"
     "used up: when FIRST goes on beyond it, the answer is still same unless\n"
     "SECOND ends in a line break.\n"
     "Exit status 0 same, 1 different.\n",
     RunCompare, 2, 2, false, false},
    {"abspath", "PATH...", "", "print the absolute form of each path",
     "Prints each PATH as an absolute path. An absolute PATH is printed as it is;\n"
     "a relative one is joined to the current directory, and '.', '..' and\n"
     "doubled slashes are then removed as text: PATH need not exist and links\n"
     "are not followed.\n"
     "Exit status 0 when every path was resolved.\n",
     RunAbspath, 1, kAny, false, false},
    {"echo", "[ARG...]", "", "print the arguments on one line",
     "Prints each ARG followed by a space, then a line feed (nothing at all\n"
     "without ARG). Options are read only before the first ARG; put -- before\n"
     "an ARG that starts with '-'.\n"
     "Exit status 0.\n",
     RunEcho, 0, kAny, false, true},
};

const char kOverviewHead[] =
    "Usage: kestrune [-q] COMMAND [OPTION...] ARG...\n"
    "\n"
    "Kestrune is a C++ library of helpers for text files, above all the\n"
    "national-language catalogs (*.velnls) of an application suite; this tool\n"
    "runs each helper on the files named on its command line.\n"
    "\n"
    "Commands:\n";

const char kOverviewTail[] =
    "  help [COMMAND]         show this help, or a command's\n"
    "\n"
    "Options, before the command or before its files:\n"
    "  -q, --quiet            print no results; only the exit status tells\n"
    "  -h, --help             show help\n"
    "      --version          show the version\n"
    "\n"
    "Exit status:\n"
    "  0  yes / same / valid (with several files: for every one of them)\n"
    "  1  no / different / invalid (for at least one file)\n"
    "  2  trouble: a usage error, or a file that could not be opened, read or\n"
    "     written; each such file gets a line on standard error that names it\n"
    "     and the result code. The other files are still processed.\n"
    "\n"
    "Examples:\n"
    "  kestrune eol examples/catalogs/*.velnls\n"
    "  kestrune -q utf8 fr.velnls || echo 'fr.velnls is not clean UTF-8'\n"
    "  kestrune compare fr.velnls fr-old.velnls\n";

bool IsHelp(const char* arg) { return std::strcmp(arg, "-h") == 0 || std::strcmp(arg, "--help") == 0; }
bool IsQuiet(const char* arg) { return std::strcmp(arg, "-q") == 0 || std::strcmp(arg, "--quiet") == 0; }

const Command* Find(const char* name)
{
    for (const Command& command : kCommands) {
        if (std::strcmp(command.name, name) == 0) return &command;
    }
    return nullptr;
}

int ShowOverview()
{
    std::fputs(kOverviewHead, stdout);
    for (const Command& command : kCommands) {
        const int width = static_cast<int>(std::strlen(command.name));
        std::printf("  %s %-*s %s\n", command.name, 21 - width, command.operands, command.summary);
    }
    std::fputs(kOverviewTail, stdout);
    return kYes;
}

int ShowHelp(const Command& command)
{
    std::printf("Usage: kestrune %s [-q] %s%s\n\n%s", command.name, command.operands, command.options, command.details);
    return kYes;
}

// "help [COMMAND]", given the words after "help".
int Help(int count, char* names[])
{
    if (count == 0) return ShowOverview();
    if (count > 1) return UsageError(nullptr, "help takes one command name");
    const Command* command = Find(names[0]);
    return command != nullptr ? ShowHelp(*command) : UsageError(nullptr, "unknown command '%s'", names[0]);
}

// Reads the command's options and operands from argv[next] on and runs it.
int Run(const Command& command, int argc, char* argv[], int next, bool quiet)
{
    Invocation run;
    run.quiet = quiet;
    bool options = true;
    for (int i = next; i < argc; ++i) {
        const char* arg = argv[i];
        // A lone "-" is a file name like any other.
        if (!options || arg[0] != '-' || arg[1] == '\0') {
            run.operands.push_back(arg);
            options = !command.optionsFirst;
        } else if (std::strcmp(arg, "--") == 0) {
            options = false;
        } else if (IsQuiet(arg)) {
            run.quiet = true;
        } else if (IsHelp(arg)) {
            return ShowHelp(command);
        } else if (command.tagOptions && std::strcmp(arg, "--force") == 0) {
            run.force = true;
        } else if (command.tagOptions && std::strncmp(arg, "--eol=", 6) == 0) {
            run.eol = arg + 6;
        } else if (command.tagOptions && std::strcmp(arg, "--eol") == 0) {
            if (++i == argc) return UsageError(command.name, "--eol needs a value");
            run.eol = argv[i];
        } else {
            return UsageError(command.name, "unknown option '%s'", arg);
        }
    }
    const std::size_t count = run.operands.size();
    if (count < command.minOperands || count > command.maxOperands) {
        return UsageError(command.name, "usage: kestrune %s %s%s", command.name, command.operands, command.options);
    }
    return command.run(run);
}

}  // namespace

}  // namespace kestrune_tool

int main(int argc, char* argv[])
{
    using namespace kestrune_tool;
#ifdef _WIN32
    UseUtf8Arguments(argc, argv);
#endif
    bool quiet = false;
    for (int i = 1; i < argc; ++i) {
        const char* arg = argv[i];
        if (IsQuiet(arg)) {
            quiet = true;
        } else if (IsHelp(arg)) {
            return ShowOverview();
        } else if (std::strcmp(arg, "--version") == 0) {
            std::printf("kestrune %s\n", KESTRUNE_VERSION);
            return kYes;
        } else if (arg[0] == '-') {
            return UsageError(nullptr, "unknown option '%s'", arg);
        } else if (std::strcmp(arg, "help") == 0) {
            return Help(argc - i - 1, argv + i + 1);
        } else if (const Command* command = Find(arg)) {
            return Run(*command, argc, argv, i + 1, quiet);
        } else {
            return UsageError(nullptr, "unknown command '%s'", arg);
        }
    }
    return UsageError(nullptr, "no command given");
}
