#pragma once

#include "SnapshotFixtures.h"
#include "output/pdf/FoRenderPDF.h"
#include "report/snapshot/FoFiler.h"

#include <QBuffer>
#include <QByteArray>
#include <QDateTime>
#include <QProcess>
#include <QRegularExpression>
#include <QStringList>
#include <QTemporaryDir>
#include <QTimeZone>

#include <gtest/gtest.h>

#include <functional>
#include <vector>

namespace fiscora::test {

inline QDateTime FixedDate() {
    return QDateTime(QDate(2026, 1, 2), QTime(3, 4, 5), QTimeZone::utc());
}

// The PDF bytes of a snapshot, with a fixed creation date.
inline QByteArray RenderPdf(const QByteArray &snapshot,
                            const std::function<void(TFoRenderPDF &)> &setup = {}) {
    QByteArray input = snapshot;
    QBuffer in(&input);
    in.open(QIODevice::ReadOnly);
    QByteArray pdf;
    QBuffer out(&pdf);
    out.open(QIODevice::WriteOnly);
    TFoRenderPDF renderer;
    renderer.CreationDate = FixedDate();
    if (setup)
        setup(renderer);
    renderer.SetOutputStream(&out);
    renderer.PrintRender(&in, QStringLiteral("test.pdf"));
    return pdf;
}

inline QByteArray PdfOf(const ReportBody &body, const std::function<void(TFoRenderPDF &)> &setup = {}) {
    return RenderPdf(GenerateSnapshot(body), setup);
}

// The file's lines; every line must end with CR LF (binary stream data excepted).
inline QStringList Lines(const QByteArray &pdf) {
    QStringList lines;
    for (const QByteArray &line : pdf.split('\n')) {
        QByteArray text = line;
        if (text.endsWith('\r'))
            text.chop(1);
        lines << QString::fromLatin1(text);
    }
    if (!lines.isEmpty() && lines.back().isEmpty())
        lines.removeLast();
    return lines;
}

// The lines of the content stream of page Index (0-based): from "stream" to "endstream".
inline QStringList PageContent(const QByteArray &pdf, int Index = 0) {
    const QStringList all = Lines(pdf);
    int seen = -1;
    for (qsizetype i = 0; i + 2 < all.size(); ++i) {
        if (all[i + 1].startsWith(QLatin1String("<< /Length ")) && all[i + 2] == QLatin1String("stream") &&
            ++seen == Index) {
            QStringList content;
            for (qsizetype j = i + 3; j < all.size() && all[j] != QLatin1String("endstream"); ++j)
                content << all[j];
            return content;
        }
    }
    return {};
}

// Compares line by line, so a failure names the first line that differs.
inline void ExpectLines(const QStringList &actual, const QStringList &expected) {
    const qsizetype common = std::min(actual.size(), expected.size());
    for (qsizetype i = 0; i < common; ++i)
        if (actual[i] != expected[i]) {
            ADD_FAILURE() << "line " << i + 1 << ": got \"" << actual[i].toStdString() << "\", expected \""
                          << expected[i].toStdString() << "\"";
            return;
        }
    if (actual.size() != expected.size())
        ADD_FAILURE() << "got " << actual.size() << " lines, expected " << expected.size()
                      << "; first extra: \""
                      << (actual.size() > expected.size() ? actual[common] : expected[common]).toStdString()
                      << "\"";
}

// Lines of the file starting with the first line equal to First, Count of them.
inline QStringList LinesFrom(const QByteArray &pdf, const QString &First, int Count) {
    const QStringList all = Lines(pdf);
    const qsizetype start = all.indexOf(First);
    if (start < 0)
        return {};
    return all.mid(start, Count);
}

struct ToolResult {
    int exitCode = -1;
    QString output;
};

inline ToolResult RunTool(const QString &program, const QStringList &arguments) {
    QProcess process;
    process.setProcessChannelMode(QProcess::MergedChannels);
    process.start(program, arguments);
    ToolResult result;
    if (!process.waitForFinished(60000))
        return result;
    result.exitCode = process.exitCode();
    result.output = QString::fromUtf8(process.readAll());
    return result;
}

// The bytes in a temporary file, for the command-line readers.
struct PdfFile {
    QTemporaryDir dir;
    QString name;
    explicit PdfFile(const QByteArray &pdf) : name(dir.filePath(QStringLiteral("check.pdf"))) {
        QFile file(name);
        if (file.open(QIODevice::WriteOnly))
            file.write(pdf);
    }
};

struct FontLine {
    QString name, type;
    bool embedded = false, subset = false, unicode = false;
};

// pdffonts' table of the document's fonts: name, type, encoding, emb, sub, uni, object, generation.
inline std::vector<FontLine> PdfFonts(const QByteArray &pdf) {
    const PdfFile file(pdf);
    const QStringList lines =
        RunTool(QStringLiteral("pdffonts"), {file.name}).output.split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    std::vector<FontLine> fonts;
    for (const QString &line : lines.mid(2)) {
        const QStringList fields = line.split(QLatin1Char(' '), Qt::SkipEmptyParts);
        if (fields.size() < 8)
            continue;
        FontLine font;
        font.name = fields.first();
        font.embedded = fields[fields.size() - 5] == QLatin1String("yes");
        font.subset = fields[fields.size() - 4] == QLatin1String("yes");
        font.unicode = fields[fields.size() - 3] == QLatin1String("yes");
        font.type = fields.mid(1, fields.size() - 7).join(QLatin1Char(' '));
        fonts.push_back(font);
    }
    return fonts;
}

// What mutool, a second reader, says while drawing every page; empty when it has nothing to say.
inline QString MutoolComplaints(const QByteArray &pdf) {
    const PdfFile file(pdf);
    const ToolResult result =
        RunTool(QStringLiteral("mutool"), {QStringLiteral("draw"), QStringLiteral("-q"), QStringLiteral("-o"),
                                           file.dir.filePath(QStringLiteral("p%d.png")), file.name});
    if (result.exitCode != 0)
        return QStringLiteral("exit %1: %2").arg(result.exitCode).arg(result.output);
    // This build of mupdf says so of itself on every run.
    QStringList complaints = result.output.split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    complaints.removeAll(QStringLiteral("warning: ICC support is not available"));
    return complaints.join(QLatin1Char('\n'));
}

// The file passes every reader this project relies on: qpdf --check without warnings, mutool draws it
// without complaint, and pdffonts finds every embedded font a subset (a six-letter tag), every
// composite font embedded with a ToUnicode map and every Type 3 font with one. The standard fonts are the
// viewers' own, and the TrueType fonts of Windows-1252 texts are named only unless EmbedFonts is set.
inline void ExpectQpdfCheckPasses(const QByteArray &pdf) {
    const PdfFile file(pdf);
    const ToolResult result = RunTool(QStringLiteral("qpdf"), {QStringLiteral("--check"), file.name});
    EXPECT_EQ(result.exitCode, 0) << result.output.toStdString();
    EXPECT_FALSE(result.output.contains(QLatin1String("WARNING"))) << result.output.toStdString();
    EXPECT_EQ(MutoolComplaints(pdf).toStdString(), "");
    for (const FontLine &font : PdfFonts(pdf)) {
        const std::string name = font.name.toStdString();
        if (font.type.startsWith(QLatin1String("CID "))) {
            EXPECT_TRUE(font.embedded) << name;
            EXPECT_TRUE(font.unicode) << name;
        }
        if (font.type == QLatin1String("Type 3")) {
            // Glyph procedures of the glyphs shown, without a font name to tag.
            EXPECT_TRUE(font.unicode) << name;
        } else if (font.embedded) {
            EXPECT_TRUE(font.subset) << name;
            EXPECT_TRUE(QRegularExpression(QStringLiteral("^[A-Z]{6}\\+")).match(font.name).hasMatch())
                << name;
        }
    }
}

inline QString PdfToText(const QByteArray &pdf) {
    QTemporaryDir dir;
    const QString name = dir.filePath(QStringLiteral("text.pdf"));
    QFile file(name);
    if (!file.open(QIODevice::WriteOnly))
        return {};
    file.write(pdf);
    file.close();
    return RunTool(QStringLiteral("pdftotext"), {QStringLiteral("-layout"), name, QStringLiteral("-")})
        .output;
}

} // namespace fiscora::test
