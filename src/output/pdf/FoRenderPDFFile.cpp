// The PDF renderer's file assembly: object numbers, the objects written in order, the cross-reference
// table and trailer, and the bytes handed to the output stream, at document end or page by page.
#include "output/pdf/FoPdfFormat.h"
#include "output/pdf/FoRenderPDF.h"
#include "report/core/FoErrors.h"

#include <QTimeZone>

#include <algorithm>
#include <cstdio>

namespace fiscora {

using pdf::FmtLn;
using pdf::Ln;

void TFoRenderPDF::FlushFile() {
    if (!FOutputStream || FFile.Data.isEmpty())
        return;
    const QByteArray &data = FFile.Data;
    constexpr qint64 chunk = 1 << 20;
    for (qint64 written = 0; written < data.size();) {
        const qint64 size = std::min(chunk, data.size() - written);
        const qint64 result = FOutputStream->write(data.constData() + written, size);
        if (result <= 0)
            throw EFolioReport(QStringLiteral("Cannot write the PDF file \"%1\": %2")
                                   .arg(FOutputFileName, FOutputStream->errorString()));
        written += result;
    }
    FFile.Base += data.size();
    FFile.Data.clear();
}

void TFoRenderPDF::StreamNewFont(TFoPDFFont &Font) {
    Font.SetIDs(FCurrentID);
    // A font whose widths, maps or embedded subset grow with the text shown is written at document end.
    if (!Font.DependsOnTextShown())
        Font.WriteObject(FFile);
}

void TFoRenderPDF::StreamPage(TFoPDFPage &Page) {
    if (Page.FID != 0)
        return;
    Page.FID = FCurrentID + 1;
    FCurrentID += 2;
    for (auto &link : Page.FLinks)
        link->FID = ++FCurrentID;
    std::vector<TFoPDFXObject *> images;
    for (auto &image : FXObjectList)
        if (image->FID == 0) {
            image->FID = ++FCurrentID;
            images.push_back(image.get());
        }
    Page.WriteObject(FFile);
    Page.WriteContent(FFile);
    for (auto &link : Page.FLinks)
        link->WriteObject(FFile);
    for (TFoPDFXObject *image : images) {
        image->WriteObject(FFile);
        image->FImage.clear(); // written; a repetition refers to the object by its name
    }
    Page.FPageContent.clear();
    Page.FPageContent.squeeze();
    Page.FLinks.clear();
    FlushFile();
}

void TFoRenderPDF::StreamDocEnd() {
    StreamPage(*FCurrentPageObject);
    for (auto &font : FFontList)
        if (font->DependsOnTextShown()) {
            font->SetLateIDs(FCurrentID);
            font->WriteObject(FFile);
        }
    WritePagesObject();
    WriteProcSet();
    WriteDocInfo();
    WriteXRef();
    WriteTrailer();
    WriteStartXRef();
    WriteEof();
}

void TFoRenderPDF::GenerateBook() {
    SetIDs();
    WriteHeader();
    WriteCatalog();
    WriteOutlinesObject();
    WritePagesObject();
    WritePages();
    WriteProcSet();
    WriteFonts();
    WritePatterns();
    WriteXObjects();
    WriteDocInfo();
    WriteXRef();
    WriteTrailer();
    WriteStartXRef();
    WriteEof();
}

void TFoRenderPDF::SetIDs() {
    FCatalog->FID = 1;
    FOutlines->FID = 2;
    FPages->FID = 3;
    int n = 3;
    for (auto &page : FPageList) {
        page->FID = n + 1;
        n += 2;
        for (auto &link : page->FLinks)
            link->FID = ++n;
    }
    FProcSet->FID = ++n;
    for (auto &font : FFontList)
        font->SetIDs(n);
    for (auto &pattern : FPatternList) {
        pattern->FID = n + 1;
        n += 2;
    }
    for (auto &image : FXObjectList)
        image->FID = ++n;
}

void TFoRenderPDF::WriteHeader() {
    QByteArray &out = FFile.Data;
    Ln(out, "%PDF-1.3");
    Ln(out, "%\xC3\xA2\xC3\xA3\xC3\x8F\xC3\x93");
    Ln(out);
}

void TFoRenderPDF::WriteCatalog() {
    FCatalog->WriteObject(FFile);
}
void TFoRenderPDF::WriteOutlinesObject() {
    FOutlines->WriteObject(FFile);
}
void TFoRenderPDF::WritePagesObject() {
    FPages->WriteObject(FFile);
}

void TFoRenderPDF::WritePages() {
    for (auto &page : FPageList) {
        page->WriteObject(FFile);
        page->WriteContent(FFile);
        for (auto &link : page->FLinks)
            link->WriteObject(FFile);
    }
}

void TFoRenderPDF::WriteProcSet() {
    FProcSet->WriteObject(FFile);
}
void TFoRenderPDF::WriteFonts() {
    for (auto &font : FFontList)
        font->WriteObject(FFile);
}
void TFoRenderPDF::WritePatterns() {
    for (auto &pattern : FPatternList)
        pattern->WriteObject(FFile);
}
void TFoRenderPDF::WriteXObjects() {
    for (auto &image : FXObjectList)
        image->WriteObject(FFile);
}

namespace {

QDateTime CreationTime(const std::optional<QDateTime> &fixed) {
    if (fixed)
        return *fixed;
    const QByteArray epoch = qgetenv("SOURCE_DATE_EPOCH");
    if (!epoch.isEmpty()) {
        bool ok = false;
        const qint64 seconds = epoch.trimmed().toLongLong(&ok);
        if (ok)
            return QDateTime::fromSecsSinceEpoch(seconds, QTimeZone::utc());
    }
    return QDateTime::currentDateTime();
}

} // namespace

void TFoRenderPDF::WriteDocInfo() {
    const int id = Streaming() ? ++FCurrentID : int(FFile.XRef.size()) + 1;
    FFile.RegisterObject(id);
    QByteArray &out = FFile.Data;
    FmtLn(out, "%d 0 obj", id);
    Ln(out, "<<");
    const auto entry = [&out](const char *key, const QString &value) {
        if (!value.isEmpty())
            FmtLn(out, "/%s %s", key, pdf::InfoString(value));
    };
    entry("Title", DocInfo.Title);
    entry("Author", DocInfo.Author);
    entry("Subject", DocInfo.Subject);
    entry("Keywords", DocInfo.KeyWords);
    entry("Creator", DocInfo.Creator);
    entry("Producer", DocInfo.Producer);
    const QDateTime created = CreationTime(CreationDate);
    FmtLn(out, "/CreationDate (D:%s)", created.toString(QStringLiteral("yyyyMMddHHmmss")).toLatin1());
    Ln(out, ">>");
    Ln(out, "endobj");
    Ln(out);
}

void TFoRenderPDF::WriteXRef() {
    QByteArray &out = FFile.Data;
    XRefPos = FFile.Position();
    Ln(out, "xref");
    FmtLn(out, "0 %d", int(FFile.XRef.size()) + 1);
    Ln(out, "0000000000 65535 f");
    for (const qint64 offset : FFile.XRef) {
        char digits[16];
        std::snprintf(digits, sizeof digits, "%010lld", static_cast<long long>(offset));
        FmtLn(out, "%s 00000 n", digits);
    }
    Ln(out);
}

void TFoRenderPDF::WriteTrailer() {
    QByteArray &out = FFile.Data;
    Ln(out, "trailer");
    Ln(out, "<<");
    FmtLn(out, "/Size %d", int(FFile.XRef.size()) + 1);
    FmtLn(out, "/Root %d 0 R", 1);
    FmtLn(out, "/Info %d 0 R", int(FFile.XRef.size()));
    Ln(out, ">>");
    Ln(out);
}

void TFoRenderPDF::WriteStartXRef() {
    QByteArray &out = FFile.Data;
    Ln(out, "startxref");
    FmtLn(out, "%d", XRefPos);
}

void TFoRenderPDF::WriteEof() {
    Ln(FFile.Data, "%%EOF");
}

} // namespace fiscora
