#pragma once

#include "output/html/FoHtmlTemplate.h"
#include "report/playback/FoRenderStream.h"

#include <QString>
#include <QStringList>

namespace fiscora {

class TFoOutputFileSet;

// Plays a page snapshot into HTML pages, one file per page: every text and box is an absolutely
// positioned DIV at 96 pixels per inch, rules and boxes are stretched one-colour GIF images and
// pictures are JPEG files. The pages are Windows-1252 with CR LF line ends; report texts are escaped.
// Every file an export writes lies in the folder of the page files (or in CacheDir) and is written
// only when the whole export succeeded.
class TFoRenderHTML : public TFoRenderStream {
public:
    TFoRenderHTML();
    ~TFoRenderHTML() override;

    // Folder for colour images and pictures; empty means the folder of the page files, a relative
    // folder lies inside it.
    const QString &CacheDir() const { return FCacheDir; }
    void SetCacheDir(const QString &value) { FCacheDir = value; }
    // The page-file name pattern, "report{%PAGENO%}.html"; worked out from the output name unless
    // the renderer is in server mode.
    const QString &PageURL() const { return FPageURL; }
    void SetPageURL(const QString &value) { FPageURL = value; }
    // Server mode refers to colour images under "/Color/" and pictures under "/Cache/".
    bool ServerMode() const { return FServerMode; }
    void SetServerMode(bool value) { FServerMode = value; }
    bool UseBreakingSpaces() const { return FUseBreakingSpaces; }
    void SetUseBreakingSpaces(bool value) { FUseBreakingSpaces = value; }
    // Head + pre + "{%Report%}" + post; see TFoHtmlTemplate::SetText.
    QString Template() const { return FTemplate.Text(); }
    void SetTemplate(const QString &value) { FTemplate.SetText(value); }

    // The one-colour GIF image of the colour.
    static void CreateColorGif(QIODevice &Stream, TColor Colour);

    // Writes every page of the snapshot as B + page number + E, B and E taken from the output name.
    void PrintRender(QIODevice *ASnapshotStream, const QString &AOutputFileName) override;
    void RenderPage(int PageNum) override;
    // The files the last successful playback wrote, absolute names.
    const QStringList &WrittenFiles() const { return FWrittenFiles; }
    // While set, playback collects its files into Files and writes none: the caller commits them.
    void SetCollectingFiles(TFoOutputFileSet *Files) { FCollectingFiles = Files; }

    void DocBegin() override;
    void PageBegin() override;
    void PageEnd() override;
    void FontChanged(TFoFont &Font) override;
    void PenChanged(TFoPen &Pen) override;
    void BrushChanged(TFoBrush &Brush) override;
    void LeftText(const QString &Text, double X, double Y) override;
    void CenterText(const QString &Text, double X, double Y) override;
    void RightText(const QString &Text, double X, double Y) override;
    void PrintSpaces(const QString &Text, double X, double Y, double Width) override;
    void PrintJustifiedWord(double &X, double &Y, const QString &Text, double Advance) override;
    double JustifiedTextWidth(const QString &Text) override;
    int JustifiedGapCount(const QString &Text) override;
    void LineTo(double X, double Y) override;
    void Rectangle(double X1, double Y1, double X2, double Y2) override;
    void FillRect(const QRect &Rect) override;
    void PrintBitmapRect(double X1, double Y1, double X2, double Y2, const QImage &Bitmap) override;
    void StretchDraw(const QRect &Rect, const QImage &Graphic) override;

private:
    enum class TAlign { Left, Center, Right };
    struct TExportState;

    void RenderPageFiles();
    void PrintElement(const QString &Content, double X, double Y, double W, double H, TAlign Align);
    void ColorBox(TColor Colour, double X, double Y, double W, double H);
    QString LinkedContent(const QString &Content) const;
    QString TextContent(const QString &Text) const;
    const QString &FontText();
    double FontHeight() const;
    double TextWidth(const QString &Text) const;
    // Where colour images and pictures are written, and how a page refers to that folder.
    QString AssetFolder() const;
    QString AssetReference(const QString &Name) const;
    QString NextPictureName(const QString &Extension);
    QString PictureFile(const QImage &Picture);
    void PlacePicture(double X1, double Y1, double X2, double Y2, const QString &Name);
    void PrintPageHead();

    QString FCacheDir;
    double ffMaxY = 0.0;
    QString FPageURL;
    TFoHtmlTemplate FTemplate;
    bool FServerMode = false;
    bool FUsingInternalStream = false;
    int FLastFileNameIndex = 0;
    bool FUseBreakingSpaces = false;

    // Playback state of the page being written.
    int FPageNo = 0;
    int FPageCount = 0;
    QString FPageFolder;
    QString FFontText; // empty until the current font is first used
    TColor FPenColor = clBlack;
    bool FPenDraws = true; // false for a clear pen
    TColor FBrushColor = clWhite;
    bool FPrintRendering = false;       // PrintRender: one page renderer per page
    TFoOutputFileSet *FFiles = nullptr; // the export's files while playing, not owned
    TFoOutputFileSet *FCollectingFiles = nullptr;
    TExportState *FExport = nullptr; // what the export's pages share while playing, not owned
    QStringList FWrittenFiles;
};

} // namespace fiscora
