// kestrune: runs the Kestrune helpers on files named on the command line.
// This file reads the arguments and picks the command.
#include "Commands.h"
#include "Help.h"
#include "Report.h"
#include "StandardDescriptors.h"
#include "Utf8Arguments.h"

#include <cstdio>
#include <cstdlib>
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
    } else if (std::strcmp(arg, "--no-ignore") == 0) {
        run.noIgnore = true;
    } else if (std::strcmp(arg, "--json") == 0) {
        run.json = true;
    } else {
        return false;
    }
    return true;
}

// The options that take a value, as --NAME VALUE or --NAME=VALUE, and the commands that take them;
// the value is kept, or with values given added to the list.
const struct {
    const char* name;
    unsigned takes;
    const char* Invocation::*value;
    std::vector<const char*> Invocation::*values = nullptr;
} kValueOptions[] = {
    {"--eol", kTagOptions | kRuleOptions, &Invocation::eol},
    {"--bom", kRuleOptions, &Invocation::bom},
    {"--final-newline", kRuleOptions, &Invocation::finalNewline},
    {"--charset", kRuleOptions, &Invocation::charset},
    {"--tag", kRuleOptions, &Invocation::tag},
    {"--from", kConvertOptions, &Invocation::from},
    {"--jobs", kWalkOptions, &Invocation::jobsText},
    {"-j", kWalkOptions, &Invocation::jobsText},
    {"--exclude", kWalkOptions, nullptr, &Invocation::excludes},
    {"--include", kWalkOptions, nullptr, &Invocation::includes},
};

// Reads argv[i] (and argv[i + 1]) when it is one of the command's value
// options: 1 when it was, 0 when not, -1 when its value is missing.
int ValueOption(const Command& command, int argc, const char* const argv[], int& i, Invocation& run)
{
    for (const auto& option : kValueOptions) {
        const std::size_t length = std::strlen(option.name);
        const char* arg = argv[i];
        if ((command.takes & option.takes) == 0 || std::strncmp(arg, option.name, length) != 0) continue;
        if (arg[length] != '=' && arg[length] != '\0') continue;
        if (arg[length] == '\0' && ++i == argc) return -1;
        const char* value = arg[length] == '=' ? arg + length + 1 : argv[i];
        if (option.value != nullptr) {
            run.*option.value = value;
        } else {
            (run.*option.values).push_back(value);
        }
        return 1;
    }
    return 0;
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
        } else if ((command.takes & kDryRunOption) != 0 && std::strcmp(arg, "--dry-run") == 0) {
            run.dryRun = true;
        } else if ((command.takes & kConvertOptions) != 0 && std::strcmp(arg, "--to-utf8") == 0) {
            run.toUtf8 = true;
        } else if (const int taken = ValueOption(command, argc, argv, i, run); taken != 0) {
            if (taken < 0) return UsageError(command.name, "%s needs a value", arg);
        } else {
            return UsageError(command.name, "unknown option '%s'", arg);
        }
    }
    if ((run.recursive || run.allFiles || run.noIgnore) && (command.takes & kWalkOptions) == 0) {
        return UsageError(command.name, "-r, --all-files and --no-ignore are not for this command");
    }
    if (run.recursive && run.operands.empty()) run.operands.push_back(".");  // a walk of the current directory
    if (run.jobsText != nullptr) {
        char* end = nullptr;
        const unsigned long jobs = std::strtoul(run.jobsText, &end, 10);
        if (*run.jobsText < '1' || *run.jobsText > '9' || *end != '\0' || jobs > 1024)
            return UsageError(command.name, "--jobs takes a number from 1 to 1024, not '%s'", run.jobsText);
        run.jobs = static_cast<unsigned>(jobs);
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
