#pragma once

#include <functional>
#include <map>
#include <string>
#include <vector>

namespace fiscora::cli {

// A sub-command of fiscora-cli: receives the arguments after its name, returns the exit status.
using CliCommandFunction = std::function<int(const std::vector<std::string> &args)>;

struct CliCommandInfo {
    std::string summary;
    CliCommandFunction run;
};

std::map<std::string, CliCommandInfo> &CliCommands();

// Each command file registers itself with a static instance of this.
struct CliCommandRegistrar {
    CliCommandRegistrar(const std::string &name, const std::string &summary, CliCommandFunction run) {
        CliCommands()[name] = CliCommandInfo{summary, std::move(run)};
    }
};

} // namespace fiscora::cli
