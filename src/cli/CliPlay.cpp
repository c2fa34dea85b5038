// fiscora-cli play FILE [--page N] [--first N] [--last N] [--selection TEXT]:
// plays a snapshot file into a recording renderer and prints one line per renderer operation.
#include "CliArguments.h"
#include "CliCommand.h"
#include "CliGuiApplication.h"
#include "CliInputFile.h"
#include "CliPageOptions.h"
#include "CliWrite.h"
#include "JsonText.h"

#include "report/core/FoErrors.h"
#include "report/playback/FoSnapshotRecorder.h"

#include <QFile>

#include <algorithm>
#include <charconv>
#include <iostream>
#include <limits>
#include <optional>

namespace fiscora::cli {

namespace {

constexpr const char *PlayUsage =
    "usage: fiscora-cli play FILE [--page N] [--first N] [--last N] [--selection TEXT]\n"
    "  --page N          play only page N (a page past the end plays the last page)\n"
    "  --first N         first page to play (default: 1)\n"
    "  --last N          last page to play (default, 0 or 9999: to the end)\n"
    "  --selection TEXT  the pages to play, such as 1,3-5, EVEN, ODD or 4-\n";

// A snapshot holds at most this many pages (its header is not believed beyond).
constexpr int kMaxPage = 99999;
// What --last calls "to the end", besides leaving it out.
constexpr int kToTheEnd[] = {0, 9999};

struct PlayOptions {
    std::string File;
    std::optional<int> Page;
    std::optional<int> First;
    std::optional<int> Last;
    QString Selection;
};

std::optional<int> PageNumber(const std::optional<std::string> &text, const std::string &option, int lowest) {
    if (!text)
        return std::nullopt;
    int value = 0;
    const auto result = std::from_chars(text->data(), text->data() + text->size(), value);
    if (result.ec != std::errc() || result.ptr != text->data() + text->size() || value < lowest ||
        value > kMaxPage)
        throw UsageError(option + ": " + Shown(*text) + " is not a page number (" + std::to_string(lowest) +
                         " to " + std::to_string(kMaxPage) + ")");
    return value;
}

bool IsToTheEnd(const std::optional<int> &last) {
    return !last || std::find(std::begin(kToTheEnd), std::end(kToTheEnd), *last) != std::end(kToTheEnd);
}

PlayOptions ParseOptions(const std::vector<std::string> &args) {
    const ParsedArguments parsed =
        ParseArguments(args, ArgumentRules{{"--page", "--first", "--last", "--selection"}, {}, {}, 1});
    if (parsed.operands.empty())
        throw UsageError("missing FILE");
    PlayOptions options;
    options.File = parsed.operands.front();
    options.Page = PageNumber(parsed.Value("--page"), "--page", 1);
    options.First = PageNumber(parsed.Value("--first"), "--first", 1);
    options.Last = PageNumber(parsed.Value("--last"), "--last", 0);
    options.Selection = PageSelectionOption(parsed.Value("--selection"));
    const bool range = options.First || options.Last;
    // An option another one overrides would be ignored without a word.
    if (options.Page && (range || !options.Selection.isEmpty()))
        throw UsageError("--page plays one page; leave out --first, --last and --selection");
    if (!options.Selection.isEmpty() && range)
        throw UsageError("--selection names the pages itself; leave out --first and --last");
    if (options.First && !IsToTheEnd(options.Last) && *options.First > *options.Last)
        throw UsageError("--first " + std::to_string(*options.First) + " comes after --last " +
                         std::to_string(*options.Last));
    return options;
}

// The converter plays every page when the last page is 0 or 9999, whatever the first page is; a
// reader takes "--first 2" as "from page 2 to the end", which a last page past every page count gives.
int ConverterLastPage(const PlayOptions &options) {
    if (!IsToTheEnd(options.Last))
        return *options.Last;
    return options.First.value_or(1) > 1 ? std::numeric_limits<int>::max() : 0;
}

std::string CallLine(const TFoRecordedCall &call) {
    std::string line = call.Name.toStdString();
    for (const auto &arg : call.Args) {
        line += ' ';
        if (!arg.Name.isEmpty())
            line += arg.Name.toStdString() + '=';
        if (const auto *number = std::get_if<double>(&arg.Value))
            line += JsonNumber(*number);
        else
            line += JsonString(std::get<QString>(arg.Value).toStdString());
    }
    return line;
}

int Play(const std::vector<std::string> &args) {
    if (IsHelpRequest(args))
        return WriteStandardOutput("play", PlayUsage) ? 0 : 1;
    PlayOptions options;
    try {
        options = ParseOptions(args);
    } catch (const UsageError &error) {
        return UsageFailure("play", error.what(), PlayUsage);
    }
    const auto application = EnsureGuiApplication();
    QFile file(QString::fromStdString(options.File));
    if (!OpenInputFileOrSay(file))
        return 1;
    TFoSnapshotRecorder recorder;
    recorder.SetFirstPage(options.First.value_or(0));
    recorder.SetLastPage(ConverterLastPage(options));
    recorder.SetSelection(options.Selection);
    recorder.SetSnapshotStream(&file);
    std::string error;
    try {
        recorder.RenderPage(options.Page.value_or(0));
    } catch (const std::exception &failure) {
        error = failure.what();
    }
    std::string lines;
    for (const auto &call : recorder.Calls)
        lines += CallLine(call) + '\n';
    if (!WriteStandardOutput("play", lines))
        return 1;
    if (!error.empty()) {
        std::cerr << error << '\n';
        return 1;
    }
    return 0;
}

const CliCommandRegistrar PlayCommand("play", "play a snapshot file and list the renderer operations", Play);

} // namespace

} // namespace fiscora::cli
