#include "CheckCsvImport.h"

#include "AssetCsvImport.h"
#include "BookCsvExport.h"
#include "BookFigures.h"

#include <algorithm>
#include <exception>
#include <string_view>

namespace fiscora::fuzz {

namespace {

constexpr int YearEndMonth = 12;

const std::vector<std::string> &NumbersInBook() {
    static const std::vector<std::string> numbers = {"A-1"};
    return numbers;
}

QString CheckRefusal(const EImportRefused &refused, std::string_view text) {
    const int lines = static_cast<int>(std::count(text.begin(), text.end(), '\n')) + 1;
    if (refused.problems.empty())
        return QStringLiteral("the import was refused without a problem");
    for (const ImportProblem &problem : refused.problems) {
        const QString shown = QString::fromStdString(problem.Text());
        if (problem.line < 1 || problem.line > lines)
            return QStringLiteral("a problem names line %1 of a file of %2 lines: %3")
                .arg(problem.line)
                .arg(lines)
                .arg(shown);
        if (problem.message.empty() || problem.message.find_first_of("\r\n") != std::string::npos)
            return QStringLiteral("a problem is not one line of text: \"%1\"").arg(shown);
    }
    return {};
}

// The book's figures of the imported assets, and their register as an export writes it.
QString CheckRegisterImportsAgain(const std::vector<AssetRecord> &records) {
    const std::vector<DepreciatedAsset> assets = DepreciateBookAssets(records, YearEndMonth);
    TotalsByTaxYear(assets);
    const std::string exported = RegisterCsv(MakeAssetRegister(assets, std::nullopt));
    try {
        if (ReadAssetCsv(exported, YearEndMonth, NumbersInBook()) != records)
            return QStringLiteral("the exported register imports to other assets:\n") +
                   QString::fromStdString(exported);
    } catch (const EImportRefused &refused) {
        return QStringLiteral("the exported register is refused (%1):\n%2")
            .arg(QString::fromStdString(refused.problems.front().Text()), QString::fromStdString(exported));
    }
    return {};
}

} // namespace

QString CheckCsvImport(const QByteArray &input) {
    const std::string_view text(input.constData(), static_cast<std::size_t>(input.size()));
    std::vector<AssetRecord> records;
    try {
        records = ReadAssetCsv(text, YearEndMonth, NumbersInBook());
    } catch (const EImportRefused &refused) {
        return CheckRefusal(refused, text);
    } catch (const std::exception &error) {
        return QStringLiteral("the import failed without naming a line: %1").arg(QString::fromUtf8(error.what()));
    }
    try {
        return CheckRegisterImportsAgain(records);
    } catch (const std::exception &error) {
        return QStringLiteral("imported assets cannot be depreciated or exported: %1")
            .arg(QString::fromUtf8(error.what()));
    }
}

} // namespace fiscora::fuzz
