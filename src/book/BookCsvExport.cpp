#include "BookCsvExport.h"

#include "AssetCsvImport.h"
#include "CentsText.h"
#include "CsvWriter.h"

namespace fiscora {

std::string RegisterCsv(const AssetRegister &reg) {
    std::vector<std::string> header = {"id"};
    header.insert(header.end(), AssetCsvColumns().begin(), AssetCsvColumns().end());
    header.insert(header.end(), {"bonus_amount", "fiscal_year_end"});
    if (reg.taxYear)
        header.insert(header.end(),
                      {"tax_year", "depreciation_before", "depreciation", "accumulated", "basis_left"});
    header.push_back("fully_depreciated");
    std::string text = CsvLine(header);
    for (std::size_t i = 0; i < reg.assets.size(); ++i) {
        const DepreciatedAsset &asset = *reg.assets[i];
        const AssetRecord &record = asset.record;
        const RegisterFigures &figures = reg.figures[i];
        std::vector<std::string> cells = {std::to_string(record.id),
                                          record.assetNumber,
                                          record.description,
                                          std::string(DisplayText(record.propertyType)),
                                          record.placedInService,
                                          CentsText(record.cost),
                                          std::string(DisplayText(record.method)),
                                          std::string(DisplayText(record.convention)),
                                          std::string(DisplayText(record.life)),
                                          record.bonusRequested ? "yes" : "no",
                                          record.note,
                                          CentsText(asset.bonus),
                                          asset.inputs.fiscalYearEnd};
        if (reg.taxYear)
            cells.insert(cells.end(),
                         {std::to_string(*reg.taxYear), CentsText(figures.before), CentsText(figures.inYear),
                          CentsText(figures.accumulated), CentsText(figures.basisLeft)});
        cells.push_back(asset.lastYearEnd);
        text += CsvLine(cells);
    }
    return text;
}

std::string TaxYearTotalsCsv(const std::vector<TaxYearTotal> &totals) {
    std::string text = CsvLine({"tax_year", "bonus", "depreciation", "total"});
    for (const TaxYearTotal &total : totals)
        text += CsvLine({std::to_string(total.taxYear), CentsText(total.bonus), CentsText(total.depreciation),
                         CentsText(total.Total())});
    return text;
}

std::string Form4562Csv(const Form4562 &form) {
    std::string text = CsvLine({"line", "description", "placed", "business_use", "cost", "basis",
                                "recovery_period", "convention", "method", "amount"});
    const auto amountLine = [&](const char *line, Cents amount) {
        text += CsvLine(
            {line, Form4562LineCaption(line, form.taxYear), "", "", "", "", "", "", "", CentsText(amount)});
    };
    amountLine("14", form.line14);
    amountLine("17", form.line17);
    for (const Form4562Line19 &line : form.line19)
        text += CsvLine({line.line, line.classification, line.placed, "", "", CentsText(line.basis),
                         line.recoveryPeriod, line.convention, line.method, CentsText(line.deduction)});
    amountLine("21", form.line21);
    amountLine("22", form.line22);
    amountLine("25", form.line25);
    for (const Form4562Line26 &line : form.line26)
        text += CsvLine({"26", line.description, line.placed, std::to_string(line.businessUse) + "%",
                         CentsText(line.cost), CentsText(line.basis), line.recoveryPeriod, line.convention,
                         line.method, CentsText(line.deduction)});
    amountLine("28", form.line28);
    return text;
}

} // namespace fiscora
