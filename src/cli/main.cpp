#include "CliCommand.h"

#include <iostream>

namespace fiscora::cli {

std::map<std::string, CliCommandInfo> &CliCommands() {
    static std::map<std::string, CliCommandInfo> commands;
    return commands;
}

} // namespace fiscora::cli

namespace {

int PrintUsage(std::ostream &out) {
    out << "usage: fiscora-cli COMMAND [OPTIONS]\n\ncommands:\n";
    for (const auto &[name, info] : fiscora::cli::CliCommands())
        out << "  " << name << "  " << info.summary << '\n';
    return 2;
}

} // namespace

int main(int argc, char **argv) {
    if (argc < 2)
        return PrintUsage(std::cerr);
    const std::string name = argv[1];
    if (name == "--help" || name == "-h") {
        PrintUsage(std::cout);
        return 0;
    }
    const auto &commands = fiscora::cli::CliCommands();
    const auto found = commands.find(name);
    if (found == commands.end()) {
        std::cerr << "fiscora-cli: unknown command '" << name << "'\n";
        return PrintUsage(std::cerr);
    }
    return found->second.run(std::vector<std::string>(argv + 2, argv + argc));
}
