#pragma once

#include "FoSnapshotTestSupport.h"
#include "QStringPrinter.h"
#include "output/html/FoHtmlExport.h"
#include "report/core/FoStreamAnsi.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QStringList>
#include <QTemporaryDir>

#include <functional>

namespace fiscora::test {

using TPageBody = std::function<void(TFoSnapshotOutput &, int PageNo)>;

// A hand-made snapshot of PageCount letter pages, each written by Body.
inline QByteArray HtmlSnapshot(int PageCount, const TPageBody &Body, int ClaimedPages = 0) {
    TSnapshotBuilder builder;
    builder.Header(ClaimedPages > 0 ? ClaimedPages : PageCount);
    for (int page = 1; page <= PageCount; ++page)
        builder.Page(page, [&](TFoSnapshotOutput &out) {
            if (Body)
                Body(out, page);
        });
    return builder.Bytes();
}

inline void WriteText(TFoSnapshotOutput &Out, quint8 Code, double X, double Y, const QString &Text) {
    Out.WriteByte(Code);
    Out.WriteFloat(Y);
    Out.WriteString(Text);
    Out.WriteFloat(X);
}

inline void WriteFont(TFoSnapshotOutput &Out, const QString &Name, double Points, bool Bold = false,
                      bool Italic = false, TColor Colour = clBlack) {
    Out.WriteByte(scFont);
    Out.WriteString(Name);
    Out.WriteInt(static_cast<qint32>(Colour));
    Out.WriteByte(0);
    Out.WriteByte(DEFAULT_CHARSET);
    Out.WriteFloat(Points / 72.0);
    Out.WriteBool(Bold);
    Out.WriteBool(Italic);
    Out.WriteBool(false);
    Out.WriteByte(0);
    Out.WriteWord(0);
}

inline void WritePoints(TFoSnapshotOutput &Out, std::initializer_list<double> Values) {
    for (double value : Values)
        Out.WriteFloat(value);
}

inline void WriteBitmapRect(TFoSnapshotOutput &Out, const QImage &Image, double X1, double Y1, double X2,
                            double Y2) {
    QByteArray bmp;
    QBuffer buffer(&bmp);
    buffer.open(QIODevice::WriteOnly);
    Image.save(&buffer, "BMP");
    Out.WriteByte(scPrintBitmapRect);
    Out.WriteByte(gkBitmap);
    Out.WriteInt(static_cast<qint32>(bmp.size()));
    Out.Write(bmp.constData(), bmp.size());
    WritePoints(Out, {X1, Y1, X2, Y2});
}

// An export into a temporary folder.
struct THtmlExportRun {
    QTemporaryDir Dir;

    QString Path(const QString &Name) const { return Dir.filePath(Name); }

    void Export(const QByteArray &Snapshot, const QString &Name = QStringLiteral("report.html")) {
        QByteArray bytes = Snapshot;
        QBuffer stream(&bytes);
        stream.open(QIODevice::ReadOnly);
        ExportSnapshotToHtml(stream, Path(Name));
    }

    // The folder's files, sorted by name, sub-folders as "dir/name".
    QStringList Files() const {
        QStringList names;
        QDir dir(Dir.path());
        for (const QString &name : dir.entryList(QDir::Files | QDir::Hidden, QDir::Name))
            names << name;
        for (const QString &sub : dir.entryList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name))
            for (const QString &name : QDir(dir.filePath(sub)).entryList(QDir::Files, QDir::Name))
                names << sub + QLatin1Char('/') + name;
        return names;
    }

    QByteArray Bytes(const QString &Name) const {
        QFile file(Path(Name));
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }

    QString Page(const QString &Name = QStringLiteral("report1.html")) const {
        return TextFromAnsi(Bytes(Name));
    }

    // The report's elements of a page: its "<DIV STYLE=" lines without the line end.
    QStringList Elements(const QString &Name = QStringLiteral("report1.html")) const {
        QStringList lines;
        for (const QString &line : Page(Name).split(QStringLiteral("\r\n")))
            if (line.startsWith(QStringLiteral("<DIV STYLE=")))
                lines << line;
        return lines;
    }
};

} // namespace fiscora::test
