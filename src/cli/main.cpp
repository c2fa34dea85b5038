#include "CliArguments.h"
#include "CliCommand.h"
#include "CliWrite.h"

#include <iostream>

namespace fiscora::cli {

std::map<std::string, CliCommandInfo> &CliCommands() {
    static std::map<std::string, CliCommandInfo> commands;
    return commands;
}

} // namespace fiscora::cli

namespace {

std::string Usage() {
    std::string usage = "usage: fiscora-cli COMMAND [OPTIONS]\n\ncommands:\n";
    for (const auto &[name, info] : fiscora::cli::CliCommands()) {
        constexpr std::size_t kSummaryColumn = 12;
        std::string line = "  " + name + "  ";
        if (line.size() < kSummaryColumn)
            line.resize(kSummaryColumn, ' ');
        usage += line + info.summary + '\n';
    }
    return usage + "\n`fiscora-cli COMMAND --help` shows the options of a command.\n";
}

} // namespace

int main(int argc, char **argv) {
    using namespace fiscora::cli;
    const std::vector<std::string> args(argv + 1, argv + argc);
    if (IsHelpRequest(args))
        return WriteStandardOutput("", Usage()) ? 0 : 1;
    if (args.empty()) {
        std::cerr << Usage();
        return 2;
    }
    const auto &commands = CliCommands();
    const auto found = commands.find(args[0]);
    if (found == commands.end()) {
        std::cerr << "fiscora-cli: unknown command " << Shown(args[0]) << '\n' << Usage();
        return 2;
    }
    return found->second.run(std::vector<std::string>(args.begin() + 1, args.end()));
}
