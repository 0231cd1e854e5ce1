// kestrune: runs the Kestrune helpers on files named on the command line.
// This file reads the arguments and picks the command.
#include "Commands.h"
#include "Help.h"
#include "Report.h"
#include "StandardDescriptors.h"
#include "Utf8Arguments.h"

#include <cstdio>
#include <cstring>
#include <string>

namespace kestrune_tool {

int ShowManPage();     // ManPage.cpp
int ShowCompletion();  // Completion.cpp

namespace {

bool IsHelp(const char* arg) { return std::strcmp(arg, "-h") == 0 || std::strcmp(arg, "--help") == 0; }

// The options that may come before the command as well as after it.
bool SharedOption(const char* arg, Invocation& run)
{
    if (std::strcmp(arg, "-q") == 0 || std::strcmp(arg, "--quiet") == 0) {
        run.quiet = true;
    } else if (std::strcmp(arg, "-r") == 0 || std::strcmp(arg, "--recursive") == 0) {
        run.recursive = true;
    } else if (std::strcmp(arg, "--all-files") == 0) {
        run.allFiles = true;
    } else if (std::strcmp(arg, "--json") == 0) {
        run.json = true;
    } else {
        return false;
    }
    return true;
}

// "help [COMMAND]", given the words after "help".
int Help(int count, char* names[])
{
    if (count == 0) return Show(OverviewText());
    if (count > 1) return UsageError(nullptr, "help takes one command name");
    const Command* command = FindCommand(names[0]);
    return command != nullptr ? Show(CommandText(*command)) : UsageError(nullptr, "unknown command '%s'", names[0]);
}

// Reads the command's options and operands from argv[next] on and runs it.
int Run(const Command& command, int argc, char* argv[], int next, Invocation run)
{
    bool options = true;
    for (int i = next; i < argc; ++i) {
        const char* arg = argv[i];
        if (options && SharedOption(arg, run)) continue;
        // A lone "-" is a file name like any other.
        if (!options || arg[0] != '-' || arg[1] == '\0') {
            run.operands.push_back(arg);
            options = (command.takes & kOptionsFirst) == 0;
        } else if (std::strcmp(arg, "--") == 0) {
            options = false;
        } else if (IsHelp(arg)) {
            return Show(CommandText(command));
        } else if ((command.takes & kTagOptions) != 0 && std::strcmp(arg, "--force") == 0) {
            run.force = true;
        } else if ((command.takes & kTagOptions) != 0 && std::strncmp(arg, "--eol=", 6) == 0) {
            run.eol = arg + 6;
        } else if ((command.takes & kTagOptions) != 0 && std::strcmp(arg, "--eol") == 0) {
            if (++i == argc) return UsageError(command.name, "--eol needs a value");
            run.eol = argv[i];
        } else {
            return UsageError(command.name, "unknown option '%s'", arg);
        }
    }
    if ((run.recursive || run.allFiles) && (command.takes & kWalkOptions) == 0) {
        return UsageError(command.name, "-r and --all-files are not for this command");
    }
    if (run.json && (command.takes & kJsonOption) == 0)
        return UsageError(command.name, "--json is not for this command");
    const std::size_t count = run.operands.size();
    if (count < command.minOperands || count > command.maxOperands) {
        return UsageError(command.name, "usage: kestrune %s %s%s", command.name, command.operands, command.options);
    }
    return command.run(run);
}

}  // namespace

// Everything but the checks of standard output at exit.
int Main(int argc, char* argv[])
{
    Invocation run;
    for (int i = 1; i < argc; ++i) {
        const char* arg = argv[i];
        if (SharedOption(arg, run)) continue;
        if (IsHelp(arg)) {
            return Show(OverviewText());
        } else if (std::strcmp(arg, "--version") == 0) {
            std::printf("kestrune %s\n", KESTRUNE_VERSION);
            return kYes;
        } else if (std::strcmp(arg, "--man") == 0) {  // for the build, so not in the help
            return ShowManPage();
        } else if (std::strcmp(arg, "--completion") == 0 && i + 2 == argc && std::strcmp(argv[i + 1], "bash") == 0) {
            return ShowCompletion();  // for the build too
        } else if (arg[0] == '-') {
            return UsageError(nullptr, "unknown option '%s'", arg);
        } else if (std::strcmp(arg, "help") == 0) {
            return Help(argc - i - 1, argv + i + 1);
        } else if (const Command* command = FindCommand(arg)) {
            return Run(*command, argc, argv, i + 1, run);
        } else {
            return UsageError(nullptr, "unknown command '%s'", arg);
        }
    }
    return UsageError(nullptr, "no command given");
}

}  // namespace kestrune_tool

int main(int argc, char* argv[])
{
#ifdef _WIN32
    kestrune_tool::UseUtf8Arguments(argc, argv);
#else
    if (!kestrune_tool::KeepStandardDescriptors()) return kestrune_tool::kTrouble;
#endif
    return kestrune_tool::FinishOutput(kestrune_tool::Main(argc, argv));
}
