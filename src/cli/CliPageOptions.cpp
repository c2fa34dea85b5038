#include "CliPageOptions.h"

#include "CliArguments.h"

#include "report/core/FoPageSelection.h"

#include <QStringList>

#include <charconv>
#include <exception>

namespace fiscora::cli {

namespace {
constexpr int kMaxPage = 99999;

std::optional<int> Number(std::string_view text) {
    int value = 0;
    const auto result = std::from_chars(text.data(), text.data() + text.size(), value);
    if (result.ec != std::errc() || result.ptr != text.data() + text.size() || value < 1 || value > kMaxPage)
        return std::nullopt;
    return value;
}
} // namespace

QString PageSelectionOption(const std::optional<std::string> &text) {
    if (!text)
        return {};
    const QString selection = QString::fromStdString(*text);
    // Each comma-separated part is tried alone: the rule stops reading at the first part that selects.
    try {
        for (const QString &part : selection.split(u','))
            PageInSelection(part, 1);
    } catch (const std::exception &) {
        throw UsageError("--selection: " + Shown(*text) +
                         " is not a page selection (such as 1,3-5, EVEN, ODD or 4-)");
    }
    return selection;
}

std::optional<PageRange> PageRangeOption(const std::optional<std::string> &text) {
    if (!text)
        return std::nullopt;
    const std::size_t dash = text->find('-');
    const std::optional<int> first = dash == std::string::npos ? std::nullopt : Number(text->substr(0, dash));
    const std::optional<int> last =
        dash == std::string::npos ? std::nullopt : Number(std::string_view(*text).substr(dash + 1));
    if (!first || !last)
        throw UsageError("--pages: " + Shown(*text) + " is not a page range FROM-TO (such as 2-3)");
    if (*first > *last)
        throw UsageError("--pages: page " + std::to_string(*first) + " comes after page " +
                         std::to_string(*last));
    return PageRange{*first, *last};
}

} // namespace fiscora::cli
