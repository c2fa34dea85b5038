#pragma once

#include "report/canvas/FoBase.h"
#include "report/system/FoProjectManager.h"

#include <QTextStream>

#include <functional>
#include <memory>
#include <vector>

namespace fiscora::test {

// A project manager without a template engine: one report per line "name|full name|category",
// and a run that hands the canvas and its parameter copy to a test's drawing routine.
class FakeProjectManager : public TFoProjectManager {
public:
    using Draw = std::function<void(TBaseReport &canvas, const TFoParams &params)>;

    std::shared_ptr<Draw> DrawRoutine = std::make_shared<Draw>();
    int Loads = 0;

    void LoadFromStream(QIODevice &stream, const QString &) override {
        std::vector<TFoReportInfo> reports;
        QTextStream text(&stream);
        while (!text.atEnd()) {
            const QStringList fields = text.readLine().split(u'|');
            if (fields.size() != 3)
                throw std::runtime_error("bad fake project");
            reports.push_back({fields[0], fields[1], QStringLiteral("About ") + fields[0], fields[2]});
        }
        FReports = std::move(reports);
        ++Loads;
    }
    void SaveToStream(QIODevice &stream) const override {
        for (const auto &report : FReports)
            stream.write((report.Name + u'|' + report.FullName + u'|' + report.Category + u'\n').toUtf8());
    }
    void New() override { FReports.clear(); }
    std::vector<TFoReportInfo> Reports() const override { return FReports; }
    std::unique_ptr<TFoReportRun> CreateRun(std::size_t, const TFoParams &params,
                                            const TFoDataSets &) const override {
        return std::make_unique<Run>(DrawRoutine, params);
    }

private:
    class Run : public TFoReportRun {
    public:
        Run(std::shared_ptr<Draw> draw, const TFoParams &params) : FDraw(std::move(draw)), FParams(params) {}
        bool AlwaysGenerate() const override { return false; }
        void BeforePrint(TBaseReport &) override {}
        void Print(TBaseReport &canvas) override {
            if (*FDraw)
                (*FDraw)(canvas, FParams);
        }
        void AfterPrint(TBaseReport &) override {}

    private:
        std::shared_ptr<Draw> FDraw;
        TFoParams FParams;
    };

    std::vector<TFoReportInfo> FReports;
};

} // namespace fiscora::test
