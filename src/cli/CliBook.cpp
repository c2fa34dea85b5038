// fiscora-cli book: a book of a business's assets, its register, totals and Form 4562 lines.

#include "CliArguments.h"
#include "CliBookSupport.h"
#include "CliCommand.h"
#include "CliWrite.h"

#include <iostream>

namespace fiscora::cli {

namespace {

std::string BookUsage() {
    std::string usage;
    for (const BookSubcommand &sub : BookSubcommands())
        usage += std::string(usage.empty() ? "usage: " : "       ") + "fiscora-cli book " + sub.name + " " +
                 sub.synopsis + '\n';
    usage += "\nsub-commands:\n";
    for (const BookSubcommand &sub : BookSubcommands()) {
        std::string line = "  " + std::string(sub.name);
        line.resize(12, ' ');
        usage += line + sub.summary + '\n';
    }
    return usage +
           "\nFILE is a book file (.fbook) or a PostgreSQL connection string (postgresql://..., "
           "service=...).\n`fiscora-cli book SUB-COMMAND --help` shows the options of a sub-command.\n";
}

int RunBookCommand(const std::vector<std::string> &args) {
    if (IsHelpRequest(args))
        return WriteStandardOutput("book", BookUsage()) ? 0 : 1;
    if (args.empty())
        return UsageFailure("book", "a sub-command is required", BookUsage());
    for (const BookSubcommand &sub : BookSubcommands())
        if (args[0] == sub.name)
            return sub.run(std::vector<std::string>(args.begin() + 1, args.end()));
    return UsageFailure("book", "unknown sub-command " + Shown(args[0]), BookUsage());
}

const CliCommandRegistrar registrar("book", "keep a book of assets: register, totals and Form 4562 lines",
                                    RunBookCommand);

} // namespace

} // namespace fiscora::cli
