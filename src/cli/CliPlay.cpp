// fiscora-cli play FILE [--page N] [--first N] [--last N] [--selection TEXT]:
// plays a snapshot file into a recording renderer and prints one line per renderer operation.
#include "CliCommand.h"
#include "JsonText.h"

#include "report/core/FoErrors.h"
#include "report/playback/FoSnapshotRecorder.h"

#include <QFile>
#include <QGuiApplication>

#include <charconv>
#include <iostream>
#include <memory>
#include <optional>

namespace fiscora::cli {

namespace {

constexpr const char *PlayUsage =
    "usage: fiscora-cli play FILE [--page N] [--first N] [--last N] [--selection TEXT]\n";

struct PlayOptions {
    std::string File;
    int Page = 0;
    int First = 0;
    int Last = 0;
    QString Selection;
};

int UsageError(const std::string &reason) {
    std::cerr << "fiscora-cli play: " << reason << '\n' << PlayUsage;
    return 2;
}

std::optional<int> WholeNumber(const std::string &text) {
    int value = 0;
    const auto result = std::from_chars(text.data(), text.data() + text.size(), value);
    if (result.ec != std::errc() || result.ptr != text.data() + text.size())
        return std::nullopt;
    return value;
}

// Parses the arguments; an error text when they are not usable.
std::optional<std::string> ParseOptions(const std::vector<std::string> &args, PlayOptions &options) {
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string &arg = args[i];
        if (arg == "--page" || arg == "--first" || arg == "--last" || arg == "--selection") {
            if (i + 1 >= args.size())
                return arg + " needs a value";
            const std::string &value = args[++i];
            if (arg == "--selection") {
                options.Selection = QString::fromStdString(value);
                continue;
            }
            const auto number = WholeNumber(value);
            if (!number || *number < 0)
                return arg + " needs a whole number, not '" + value + "'";
            (arg == "--page" ? options.Page : arg == "--first" ? options.First : options.Last) = *number;
        } else if (!arg.empty() && arg[0] == '-') {
            return "unknown option '" + arg + "'";
        } else if (options.File.empty()) {
            options.File = arg;
        } else {
            return "unexpected argument '" + arg + "'";
        }
    }
    if (options.File.empty())
        return std::string("missing FILE");
    return std::nullopt;
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
    PlayOptions options;
    if (const auto error = ParseOptions(args, options))
        return UsageError(*error);
    // Rich text is measured with fonts, which need a GUI application (offscreen is enough).
    std::unique_ptr<QGuiApplication> application;
    if (!QGuiApplication::instance()) {
        // Standard error carries the converter's message; Qt's start-up notes would only blur it.
        qInstallMessageHandler([](QtMsgType type, const QMessageLogContext &, const QString &message) {
            if (type == QtCriticalMsg || type == QtFatalMsg)
                std::cerr << message.toStdString() << '\n';
        });
        if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
            qputenv("QT_QPA_PLATFORM", "offscreen");
        static int argc = 1;
        static char name[] = "fiscora-cli";
        static char *argv[] = {name, nullptr};
        application = std::make_unique<QGuiApplication>(argc, argv);
    }
    QFile file(QString::fromStdString(options.File));
    if (!file.open(QIODevice::ReadOnly)) {
        std::cerr << "Cannot open file \"" << options.File << "\". " << file.errorString().toStdString()
                  << '\n';
        return 1;
    }
    TFoSnapshotRecorder recorder;
    recorder.SetFirstPage(options.First);
    recorder.SetLastPage(options.Last);
    recorder.SetSelection(options.Selection);
    recorder.SetSnapshotStream(&file);
    std::string error;
    try {
        recorder.RenderPage(options.Page);
    } catch (const std::exception &failure) {
        error = failure.what();
    }
    for (const auto &call : recorder.Calls)
        std::cout << CallLine(call) << '\n';
    std::cout.flush();
    if (!error.empty()) {
        std::cerr << error << '\n';
        return 1;
    }
    return 0;
}

const CliCommandRegistrar PlayCommand("play", "play a snapshot file and list the renderer operations", Play);

} // namespace

} // namespace fiscora::cli
