#pragma once

#include "report/core/FoDraw.h"
#include "report/core/FoTypes.h"
#include "report/snapshot/FoFiler.h"

#include <QIODevice>
#include <QString>
#include <QStringList>

#include <algorithm>
#include <memory>

namespace fiscora {

// Printer and page settings of the report system, copied onto the snapshot writer at each run.
class TSystemPrinter {
public:
    int Copies = 1;
    bool Collate = false;
    TDuplex Duplex = TDuplex::dupSimplex;
    int FirstPage = 1;
    int LastPage = LastPageOfAll;
    TLineHeightMethod LineHeightMethod = TLineHeightMethod::lhmFont;
    int LinesPerInch = 6;
    double MarginLeft = 0;
    double MarginRight = 0;
    double MarginTop = 0;
    double MarginBottom = 0;
    TOrientation Orientation = TOrientation::poPortrait;
    double ScaleX = 100;
    double ScaleY = 100;
    QString StatusFormat = QStringLiteral("Printing page %p");
    QStringList StatusText;
    TBKMode TextBKMode = TBKMode::bkTransparent;
    QString Title = QStringLiteral("Folio Report");

    int TabShade() const { return FTabShade; }
    void SetTabShade(int value) { FTabShade = std::clamp(value, 0, 100); }

    // Same rules as the canvas: the factor names the units, and a factor not above 0 is ignored.
    TPrintUnits Units() const { return FUnits; }
    void SetUnits(TPrintUnits value);
    double UnitsFactor() const { return FUnitsFactor; }
    void SetUnitsFactor(double value);

    void InitPrinter(TBaseReport &report) const;

private:
    int FTabShade = 0;
    TPrintUnits FUnits = TPrintUnits::unInch;
    double FUnitsFactor = 1.0;
};

enum class TMarginMethod : std::uint8_t { mmScaled, mmFixed };
enum class TRulerType : std::uint8_t { rtNone, rtHorizCm, rtVertCm, rtBothCm, rtHorizIn, rtVertIn, rtBothIn };
enum class TFormState : std::uint8_t { fsNormal, fsMinimized, fsMaximized };

// Settings for a preview renderer and its window.
class TSystemPreview {
public:
    TSystemPreview();

    int FormWidth = 615;
    int FormHeight = 450;
    TFormState FormState = TFormState::fsNormal;
    double GridHoriz = 0;
    double GridVert = 0;
    TMarginMethod MarginMethod = TMarginMethod::mmFixed;
    double MarginPercent = 0;
    int PagesWide = 1;
    int PagesHigh = 1;
    int PageInc = 1;
    TRulerType RulerType = TRulerType::rtNone;
    double ZoomInc = 10;

    TFoPen &GridPen() { return *FGridPen; }
    const TFoPen &GridPen() const { return *FGridPen; }

    double ZoomFactor() const { return FZoomFactor; }
    // Clamped to 10..200.
    void SetZoomFactor(double value) { FZoomFactor = std::clamp(value, 10.0, 200.0); }

    // Monochrome and shadows exclude each other: a change that would combine them is refused with a message.
    bool Monochrome() const { return FMonochrome; }
    void SetMonochrome(bool value);
    int ShadowDepth() const { return FShadowDepth; }
    void SetShadowDepth(int value);

    // Copies the settings onto a preview renderer, whatever class the output library gives it.
    template <typename RenderPreview> void InitPreview(RenderPreview &preview) const {
        preview.GridHoriz = GridHoriz;
        preview.GridPen().Assign(*FGridPen);
        preview.GridVert = GridVert;
        preview.MarginMethod = MarginMethod;
        preview.MarginPercent = MarginPercent;
        preview.SetMonochrome(FMonochrome);
        preview.SetShadowDepth(FShadowDepth);
        preview.PagesWide = PagesWide;
        preview.PagesHigh = PagesHigh;
        preview.PageInc = PageInc;
        preview.RulerType = RulerType;
        preview.ZoomInc = int(ZoomInc);
        preview.SetZoomFactor(FZoomFactor);
    }

private:
    std::unique_ptr<TFoPen> FGridPen;
    double FZoomFactor = 100;
    bool FMonochrome = false;
    int FShadowDepth = 0;
};

inline constexpr const char *kMsgMonochromeWithShadows =
    "Monochrome not allowed while shadows are in effect.\rChange ShadowDepth to 0 first";
inline constexpr const char *kMsgShadowsWithMonochrome =
    "Shadows not allowed while monochrome in effect.\rChange Monochrome to false first";

// Snapshot settings of the report system.
class TSystemFiler {
public:
    TAccuracyMethod AccuracyMethod = TAccuracyMethod::amPositioning;
    QString FileName;
    QString StatusFormat = QStringLiteral("Generating page %p");
    QStringList StatusText;
    TStreamMode StreamMode = TStreamMode::smMemory;
    bool IgnoreRichText = false;

    // The snapshot stream: a caller's stream for smUser, the filer's own memory stream for smMemory.
    QIODevice *Stream() const { return FStream; }
    void SetStream(QIODevice *stream) { FStream = stream; }

    // Sets the writer's snapshot options and stream; with smMemory it first creates a new memory stream.
    void InitFiler(TFoSnapshotWriter &writer);
    // Frees the memory stream InitFiler created (no effect on a caller's stream).
    void FreeMemoryStream();

private:
    QIODevice *FStream = nullptr;
    std::unique_ptr<QIODevice> FMemoryStream;
};

} // namespace fiscora
