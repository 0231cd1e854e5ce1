// kestrune: runs the Kestrune helpers on files named on the command line.
// This file reads the arguments and picks the command.
#include "Commands.h"
#include "Help.h"
#include "Options.h"
#include "Report.h"
#include "StandardDescriptors.h"
#include "Utf8Arguments.h"

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

namespace kestrune_tool {

int ShowManPage();     // ManPage.cpp
int ShowCompletion();  // Completion.cpp

namespace {

bool IsHelp(const char* arg) { return std::strcmp(arg, "-h") == 0 || std::strcmp(arg, "--help") == 0; }

// Reads the option args[i] of command into run, moving i past its value:
// kYes, or the status of the usage error reported.
int ReadOption(const Command& command, const std::vector<const char*>& args, std::size_t& i, Invocation& run)
{
    const char* arg = args[i];
    const char* value = nullptr;
    const Option* option = FindOption(arg, &command, value);
    if (option == nullptr) {
        if (FindOption(arg, nullptr, value) != nullptr)
            return UsageError(command.name, "%s is not for this command", arg);
        return UsageError(command.name, "unknown option '%s'", arg);
    }
    // The name as given, without a value given with it (--tag=X, -j4).
    const std::string name = value == nullptr ? arg : std::string(arg, value - arg - (arg[1] == '-' ? 1 : 0));
    if (option->values == Values::None) {
        if (value != nullptr) return UsageError(command.name, "%s takes no value", name.c_str());
    } else {
        if (value == nullptr && i + 1 < args.size()) value = args[++i];
        if (value == nullptr || *value == '\0') return UsageError(command.name, "%s needs a value", name.c_str());
        const std::string fault = ValueFault(option->values, value);
        if (!fault.empty())
            return UsageError(command.name, "%s takes %s, not '%s'", name.c_str(), fault.c_str(), value);
    }
    option->set(run, value);
    return kYes;
}

// "help [COMMAND]", given the words after "help".
int Help(int count, char* names[])
{
    if (count == 0) return Show(OverviewText());
    if (count > 1) return UsageError(nullptr, "help takes one command name");
    const Command* command = FindCommand(names[0]);
    return command != nullptr ? Show(CommandText(*command)) : UsageError(nullptr, "unknown command '%s'", names[0]);
}

// Reads the command's options and operands from args and runs it. After
// "--", and for a kOptionsFirst command after its first operand, every word
// is an operand.
int Run(const Command& command, const std::vector<const char*>& args)
{
    Invocation run;
    bool options = true;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const char* arg = args[i];
        // A lone "-" is a file name like any other.
        if (!options || arg[0] != '-' || arg[1] == '\0') {
            run.operands.push_back(arg);
            options = options && (command.takes & kOptionsFirst) == 0;
        } else if (std::strcmp(arg, "--") == 0) {
            options = false;
        } else if (IsHelp(arg)) {
            return Show(CommandText(command));
        } else if (ReadOption(command, args, i, run) != kYes) {
            return kTrouble;
        }
    }
    if (run.walk.recursive && run.operands.empty()) run.operands.push_back(".");  // a walk of the current directory
    const std::size_t count = run.operands.size();
    if (!run.showVersion && (count < command.minOperands || count > command.maxOperands)) {
        return UsageError(command.name, "usage: kestrune %s %s%s", command.name, command.operands, command.options);
    }
    if ((command.takes & kCharsetOperand) != 0) {
        const char*& charset = run.operands.back();
        const std::string fault = *charset == '\0' ? "a charset name" : ValueFault(Values::TagCharset, charset);
        if (!fault.empty()) return UsageError(command.name, "CHARSET must be %s, not '%s'", fault.c_str(), charset);
    }
    return command.run(run);
}

}  // namespace

// Everything but the checks of standard output at exit.
int Main(int argc, char* argv[])
{
    // The words before the command are its options too, read with the rest once the command is known.
    std::vector<const char*> args;
    for (int i = 1; i < argc; ++i) {
        const char* arg = argv[i];
        const char* value = nullptr;
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
            const Option* option = FindOption(arg, nullptr, value);
            if (option == nullptr) return UsageError(nullptr, "unknown option '%s'", arg);
            args.push_back(arg);
            if (option->values != Values::None && value == nullptr && i + 1 < argc) args.push_back(argv[++i]);
        } else if (std::strcmp(arg, "help") == 0) {
            return Help(argc - i - 1, argv + i + 1);
        } else if (const Command* command = FindCommand(arg)) {
            args.insert(args.end(), argv + i + 1, argv + argc);
            return Run(*command, args);
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
