#pragma once

// Runs a template report headless and keeps what its pages print.

#include "report/playback/FoRender.h"
#include "report/system/FoProject.h"
#include "report/system/FoSystem.h"

#include <QStringList>

#include <vector>

namespace fiscora {

// Keeps the texts and pictures of every page played back, in order.
class PageRecorder : public TFoRender {
public:
    struct Page {
        QStringList texts;
        int pictures = 0;
        double paperWidth = 0;
    };
    std::vector<Page> pages;
    QStringList hyperlinks;

    void PageBegin() override {
        pages.emplace_back();
        pages.back().paperWidth = PaperWidth();
    }
    void LeftText(const QString &text, double, double) override { pages.back().texts << text; }
    void CenterText(const QString &text, double, double) override { pages.back().texts << text; }
    void RightText(const QString &text, double, double) override { pages.back().texts << text; }
    void PrintSpaces(const QString &text, double, double, double) override { pages.back().texts << text; }
    void PrintBitmapRect(double, double, double, double, const QImage &) override { ++pages.back().pictures; }
    void SetHyperlink(const QString &text) override { hyperlinks << text; }
};

// Runs the selected report headless and plays its snapshot back.
inline std::vector<PageRecorder::Page> RunReport(TFoProject &project, QStringList *hyperlinks = nullptr) {
    TFoSystem system;
    system.SystemSetups = 0;
    system.SystemOptions = 0;
    PageRecorder recorder;
    system.OverridePreview = [&](TFoSystem &s, TOverrideMode mode, std::unique_ptr<QObject> &) {
        if (mode == TOverrideMode::omShow) {
            s.Stream()->seek(0);
            recorder.Render(s.Stream());
        }
    };
    project.SetEngine(&system);
    project.Execute();
    if (hyperlinks)
        *hyperlinks = recorder.hyperlinks;
    return recorder.pages;
}

} // namespace fiscora
