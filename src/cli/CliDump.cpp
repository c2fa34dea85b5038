// fiscora-cli dump FILE: the structure of a snapshot file as one JSON object.
#include "CliArguments.h"
#include "CliCommand.h"
#include "CliInputFile.h"
#include "CliWrite.h"
#include "JsonText.h"

#include "report/core/FoErrors.h"
#include "report/snapshot/FoSnapshotWalker.h"

#include <QFile>

#include <iostream>

namespace fiscora::cli {

namespace {

constexpr const char *DumpUsage = "usage: fiscora-cli dump FILE\n";

std::string Json(const QString &text) {
    return JsonString(text.toStdString());
}

std::string Json(const QVariant &value) {
    switch (value.typeId()) {
    case QMetaType::QString:
        return Json(value.toString());
    case QMetaType::QVariantMap: {
        const QVariantMap map = value.toMap();
        std::string json = "{";
        for (auto it = map.begin(); it != map.end(); ++it) {
            if (json.size() > 1)
                json += ',';
            json += Json(it.key());
            json += ':';
            json += Json(it.value());
        }
        return json + '}';
    }
    case QMetaType::QVariantList: {
        std::string json = "[";
        for (const QVariant &item : value.toList()) {
            if (json.size() > 1)
                json += ',';
            json += Json(item);
        }
        return json + ']';
    }
    default:
        return JsonNumber(value.toDouble());
    }
}

// Builds "{"name":value,...}" from pairs added in order.
class JsonObject {
public:
    JsonObject &Add(const char *name, const std::string &json) {
        FText += FText.empty() ? '{' : ',';
        FText += JsonString(name);
        FText += ':';
        FText += json;
        return *this;
    }
    JsonObject &Number(const char *name, double value) { return Add(name, JsonNumber(value)); }
    JsonObject &Text(const char *name, const QString &value) { return Add(name, Json(value)); }
    std::string Close() const { return (FText.empty() ? "{" : FText) + '}'; }

private:
    std::string FText;
};

std::string HeaderJson(const TFoReportHeader &header, bool ansiStrings) {
    return JsonObject()
        .Number("FileVer", header.FileVer)
        .Text("Title", header.Title)
        .Number("PageCount", header.PageCount)
        .Number("FirstPage", header.FirstPage)
        .Number("LastPage", header.LastPage)
        .Number("PaperWidth", StoredFloat(header.PaperWidth))
        .Number("PaperHeight", StoredFloat(header.PaperHeight))
        .Number("LeftWaste", StoredFloat(header.LeftWaste))
        .Number("RightWaste", StoredFloat(header.RightWaste))
        .Number("TopWaste", StoredFloat(header.TopWaste))
        .Number("BottomWaste", StoredFloat(header.BottomWaste))
        .Number("Orientation", static_cast<int>(header.Orientation))
        .Number("Bin", header.Bin)
        .Number("Collate", header.Collate ? 1 : 0)
        .Number("Duplex", static_cast<int>(header.Duplex))
        .Number("Copies", header.Copies)
        .Number("DMPaperSize", header.DMPaperSize)
        .Number("DMPaperWidth", header.DMPaperWidth)
        .Number("DMPaperLength", header.DMPaperLength)
        .Text("OutputName", header.OutputName)
        .Add("AnsiStrings", ansiStrings ? "true" : "false")
        .Close();
}

// Appends an item to a JSON array text that starts with "[".
void AppendItem(std::string &list, const std::string &item) {
    if (list.size() > 1)
        list += ',';
    list += item;
}

std::string RecordJson(const TSnapshotRecord &record) {
    std::string json = "{\"code\":" + std::to_string(record.Code) + ",\"name\":" + Json(record.Name);
    for (const auto &[name, value] : record.Fields) {
        json += ',';
        json += Json(name);
        json += ':';
        json += Json(value);
    }
    return json + '}';
}

std::string PageJson(const TSnapshotPage &page, int fileVersion) {
    JsonObject object;
    object.Number("Position", double(page.Position))
        .Number("PrevPagePos", page.Header.PrevPagePos)
        .Number("NextPagePos", page.Header.NextPagePos)
        .Number("PageNo", page.Header.PageNo);
    if (fileVersion < 2000) {
        object.Number("OldOrientation", page.Header.OldOrientation);
    } else {
        object.Number("PaperWidth", StoredFloat(page.Header.PaperWidth))
            .Number("PaperHeight", StoredFloat(page.Header.PaperHeight));
    }
    if (fileVersion > 5129)
        object.Number("Orientation", static_cast<int>(page.Orientation)).Number("Bin", page.Bin);
    std::string records = "[";
    for (const auto &record : page.Records)
        AppendItem(records, RecordJson(record));
    return object.Add("records", records + ']').Close();
}

int Dump(const std::vector<std::string> &args) {
    if (IsHelpRequest(args))
        return WriteStandardOutput("dump", DumpUsage) ? 0 : 1;
    std::string fileName;
    try {
        const ParsedArguments parsed = ParseArguments(args, ArgumentRules{{}, {}, {}, 1});
        if (parsed.operands.empty())
            return UsageFailure("dump", "missing FILE", DumpUsage);
        fileName = parsed.operands.front();
    } catch (const UsageError &error) {
        return UsageFailure("dump", error.what(), DumpUsage);
    }
    QFile file(QString::fromStdString(fileName));
    if (!OpenInputFileOrSay(file))
        return 1;
    TFoSnapshotWalker walker(file);
    std::string header = "null";
    std::string pages = "[";
    std::string error;
    int fileVersion = 0;
    TSnapshotPage page;
    try {
        const TFoReportHeader reportHeader = walker.ReadHeader();
        fileVersion = reportHeader.FileVer;
        header = HeaderJson(reportHeader, walker.AnsiStrings());
        int lastPageNo = 0;
        while (walker.ReadPage(page)) {
            AppendItem(pages, PageJson(page, fileVersion));
            lastPageNo = page.Header.PageNo;
        }
        // Playback reads on until the page the header counts to; a stream that ends before it is
        // cut short, and says so the same way.
        if (lastPageNo < reportHeader.PageCount)
            error = SnapshotReadErrorText;
    } catch (const EFolioReport &failure) {
        error = failure.what();
        if (page.Position > 0) // the page cut short, with what it held
            AppendItem(pages, PageJson(page, fileVersion));
    }
    if (!WriteStandardOutput("dump", "{\"header\":" + header + ",\"pages\":" + pages + "]}\n"))
        return 1;
    if (!error.empty()) {
        std::cerr << error << '\n';
        return 1;
    }
    return 0;
}

const CliCommandRegistrar DumpCommand("dump", "print the structure of a snapshot file (.fsn) as JSON", Dump);

} // namespace

} // namespace fiscora::cli
