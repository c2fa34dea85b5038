#pragma once

#include "report/canvas/FoBase.h"
#include "report/core/FoTypes.h"
#include "report/system/FoSystemSettings.h"

#include <QObject>
#include <QStringList>

#include <functional>
#include <memory>

namespace fiscora {

class TFoRender;
class TFoSnapshotWriter;
class TFoSystem;

// TSystemSetup bits; only ssAllowSetup is tested by the job flow, the others enable dialog controls.
enum TSystemSetup : std::uint16_t {
    ssAllowSetup = 1,
    ssAllowCopies = 2,
    ssAllowCollate = 4,
    ssAllowDuplex = 8,
    ssAllowDestPreview = 16,
    ssAllowDestPrinter = 32,
    ssAllowDestFile = 64,
    ssAllowPrinterSetup = 128,
    ssAllowPreviewSetup = 256,
};
using TSystemSetups = std::uint16_t;
inline constexpr TSystemSetups AllSystemSetups = 511;

enum TSystemOption : std::uint8_t {
    soUseFiler = 1,
    soWaitForOK = 2,
    soShowStatus = 4,
    soAllowPrintFromPreview = 8,
    soAllowSaveFromPreview = 16,
    soPreviewModal = 32,
    soNoGenerate = 64,
};
using TSystemOptions = std::uint8_t;

enum class TOverrideMode : std::uint8_t { omCreate, omShow, omWait, omFree };

// An override receives the system, the step and the form variable it creates, uses and frees.
using TOverrideEvent = std::function<void(TFoSystem &ReportSystem, TOverrideMode OverrideMode,
                                          std::unique_ptr<QObject> &OverrideForm)>;
using TRenderPageEvent = std::function<void(TBaseReport &)>;
using TRenderDataEvent = std::function<void(TBaseReport &)>;
using TRenderNotify = std::function<void(TFoRender &)>;

// What the output library supplies: the output options dialog, the status window, the default
// preview and printer output. Until it does, a job that needs one of them fails with a clear message.
struct TFoSystemDialogs {
    TOverrideEvent Setup;
    TOverrideEvent Status;
    TOverrideEvent Preview;
    // Plays the snapshot of a finished job to the printer (or, with native output, its file).
    std::function<void(TFoSystem &)> PrintSnapshot;
};

// The report system: runs one report job from the output options to its destination.
class TFoSystem : public QObject, public TReportEvents {
    Q_OBJECT
public:
    explicit TFoSystem(QObject *parent = nullptr);
    ~TFoSystem() override;

    static TFoSystemDialogs &DefaultDialogs();

    void Execute();
    // Only the generation step: no dialog, no status window, no destination.
    void Generate();

    QString TitleSetup;
    QString TitleStatus;
    QString TitlePreview;
    TSystemSetups SystemSetups = AllSystemSetups;
    TSystemOptions SystemOptions =
        soShowStatus | soAllowPrintFromPreview | soAllowSaveFromPreview | soPreviewModal;
    TReportDest DefaultDest = TReportDest::rdPreview;
    TReportDest ReportDest = TReportDest::rdPreview;
    QString OutputFileName;
    bool DoNativeOutput = true;
    TFoRender *RenderObject = nullptr; // not owned
    QStringList StorageMacroData;
    bool Aborted = false;

    // The snapshot writer during generation, else nullptr.
    TBaseReport *BaseReport() const;
    QIODevice *Stream() const { return SystemFiler.Stream(); }
    bool ForceMultiPrint() const { return FForceMultiPrint; }

    TSystemPrinter SystemPrinter;
    TSystemPreview SystemPreview;
    TSystemFiler SystemFiler;

    TRenderPageEvent OnRenderPage;
    TRenderDataEvent OnRenderData;
    std::function<void(TFoSystem &)> OnAfterPreviewPrint;
    TRenderNotify OnPreviewSetup;
    std::function<void(TFoSystem &)> OnPreviewShow;

    TOverrideEvent OverrideSetup;
    TOverrideEvent OverrideStatus;
    TOverrideEvent OverridePreview;

private:
    void RunSetup();
    void RunGeneration(bool withStatus);
    void RunDestination();
    void RenderToObject();
    // The assigned override, else the output library's default, else an error naming what is missing.
    static const TOverrideEvent &ChooseOverride(const TOverrideEvent &custom, const TOverrideEvent &fallback,
                                                const char *missing);
    // omCreate, omShow, omWait and, however they end, omFree.
    void RunOverrideSteps(TOverrideEvent handler);
    void DefaultStatus(TOverrideMode mode, std::unique_ptr<QObject> &form);
    void ReleaseSnapshot();

    TFoSnapshotWriter *FWriter = nullptr;
    bool FForceMultiPrint = false;
    QString FTempSnapshot;  // a temporary snapshot this job made, deleted at its end
};

} // namespace fiscora
