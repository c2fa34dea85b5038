#pragma once

#include "report/core/FoTypes.h"

#include <QByteArray>
#include <QString>

#include <memory>
#include <vector>

namespace fiscora {

class TFoRenderPDF;

// The file being assembled: the bytes not yet written out (Base bytes were), and the file offset of
// every object registered so far, by number (entry k - 1 belongs to object k).
struct TFoPDFFile {
    QByteArray Data;
    qint64 Base = 0;
    std::vector<qint64> XRef;
    // Records the current position as the offset of object ID (RegisterObject).
    void RegisterObject(int ID) {
        if (ID <= 0)
            return;
        if (XRef.size() < size_t(ID))
            XRef.resize(size_t(ID), -1);
        XRef[size_t(ID - 1)] = Base + Data.size();
    }
    qint64 Position() const { return Base + Data.size(); }
};

// A stream object: "<< /Length n" and the extra dictionary entries (" /Subtype /X") ">>", then the bytes.
void WriteStreamObject(TFoPDFFile &File, int ID, const QByteArray &DictionaryEntries,
                       const QByteArray &Bytes);

// A document object: its owner, its number (0 until assigned) and how it writes itself.
class TFoPDFObject {
public:
    explicit TFoPDFObject(TFoRenderPDF &AOwner) : FFoRenderPDF(AOwner) {}
    virtual ~TFoPDFObject() = default;
    TFoPDFObject(const TFoPDFObject &) = delete;
    TFoPDFObject &operator=(const TFoPDFObject &) = delete;

    // Registers and writes the complete object, "%d 0 obj" to "endobj" and a blank line.
    virtual void WriteObject(TFoPDFFile &File) = 0;

    int FID = 0;

protected:
    TFoRenderPDF &FFoRenderPDF;
};

class TFoPDFCatalog : public TFoPDFObject {
public:
    using TFoPDFObject::TFoPDFObject;
    void WriteObject(TFoPDFFile &File) override;
};

class TFoPDFOutlines : public TFoPDFObject {
public:
    using TFoPDFObject::TFoPDFObject;
    void WriteObject(TFoPDFFile &File) override;
};

class TFoPDFPages : public TFoPDFObject {
public:
    using TFoPDFObject::TFoPDFObject;
    void WriteObject(TFoPDFFile &File) override;
    // "%d 0 R " per page, CR LF after every 25th index, the last character removed.
    QByteArray GetPageReferences() const;
};

class TFoPDFProcSet : public TFoPDFObject {
public:
    using TFoPDFObject::TFoPDFObject;
    void WriteObject(TFoPDFFile &File) override;
};

// One link annotation; coordinates in inches from the page's top-left corner.
class TPDFLink : public TFoPDFObject {
public:
    using TFoPDFObject::TFoPDFObject;
    void WriteObject(TFoPDFFile &File) override;
    QString FURI;
    double FAX1 = 0, FAX2 = 0, FAY1 = 0, FAy2 = 0;
    double FPageHeight = 11.0;
};

// A page, its content stream and its state caches.
class TFoPDFPage : public TFoPDFObject {
public:
    explicit TFoPDFPage(TFoRenderPDF &AOwner);
    void WriteObject(TFoPDFFile &File) override;
    // The content stream object (numbered FID + 1).
    void WriteContent(TFoPDFFile &File);
    // All state caches undefined.
    void ForgetState();

    QByteArray FPageContent;
    double FPageWidth = 8.5;
    double FPageHeight = 11.0;
    TColor FTextColor = clBlack;
    TColor FLastTextColor = clBlack;
    bool FLastTextColorDefined = false;
    TColor FPenColor = clBlack;
    TColor FLastPenColor = clBlack;
    bool FLastPenColorDefined = false;
    double FLastPenWidth = 0.0;
    bool FLastPenWidthDefined = false;
    TPenStyle FLastPenStyle = TPenStyle::psSolid;
    bool FLastPenStyleDefined = false;
    TColor FBrushColor = clWhite;
    TColor FLastBrushColor = clWhite;
    bool FLastBrushColorDefined = false;
    TBrushStyle FLastBrushStyle = TBrushStyle::bsSolid;
    bool FLastBrushStyleDefined = false;
    std::vector<std::unique_ptr<TPDFLink>> FLinks;
};

// A hatch pattern and its (empty) resource dictionary, numbered FID + 1.
class TFoPDFPattern : public TFoPDFObject {
public:
    using TFoPDFObject::TFoPDFObject;
    void WriteObject(TFoPDFFile &File) override;
    QByteArray FObjectName;
    QByteArray FPatternStream;
};

// Brush style names as pattern keys use them ("bsCross" ...).
const char *BrushStyleName(TBrushStyle Style);
bool IsHatchStyle(TBrushStyle Style);
// The pattern text of a hatch style in a colour (lines joined by CR LF, none after the last).
QByteArray HatchPatternText(TBrushStyle Style, TColor Colour);

} // namespace fiscora
