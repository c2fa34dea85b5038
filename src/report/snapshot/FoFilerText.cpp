// Snapshot writer: text records, positioned or as blocks by the accuracy method.
#include "report/snapshot/FoFiler.h"

#include "report/core/FoMacros.h"
#include "report/core/FoRichText.h"
#include "report/snapshot/FoSnapshotCodes.h"

#include <cmath>
#include <numbers>

namespace fiscora {

bool TFoSnapshotWriter::NeedsPositionedText(const QString &Text) const {
    return FAccuracyMethod == TAccuracyMethod::amAppearance || FontRotation() != 0 || HasMarker(Text) ||
           Text.contains(QChar(kRichOpen)) || !Text.contains(QLatin1Char(' '));
}

void TFoSnapshotWriter::WriteTextRecord(quint8 Code, const QString &Text, double X) {
    WriteCode(Code);
    FOutput->WriteFloat(PageY(FCursorYPos));
    FOutput->WriteString(Text);
    FOutput->WriteFloat(PageX(X));
}

void TFoSnapshotWriter::WriteBlockRecord(const QString &Text, double X, double Width) {
    WriteCode(scBlockText);
    FOutput->WriteFloat(PageY(FCursorYPos));
    FOutput->WriteString(Text);
    FOutput->WriteFloat(PageX(X));
    FOutput->WriteFloat(Width * ScaleX() / 100.0);
}

void TFoSnapshotWriter::EmitLeftText(const QString &Text, double X) {
    const double width = XU2I(TextWidth(Text));
    if (NeedsPositionedText(Text))
        WriteTextRecord(scLeftText, Text, X);
    else
        WriteBlockRecord(Text, X, width * 10000.0 / (ScaleX() * ScaleX()));
    FCursorXPos = X * ScaleX() / 100.0;
    const double radians = FontRotation() * std::numbers::pi / 180.0;
    FCursorXPos += std::cos(radians) * width;
    FCursorYPos -= std::sin(radians) * width;
}

void TFoSnapshotWriter::EmitCenterText(const QString &Text, double X) {
    const double width = XU2I(TextWidth(Text));
    if (NeedsPositionedText(Text)) {
        WriteTextRecord(scCenterText, Text, X);
    } else {
        const double blockWidth = width * 10000.0 / (ScaleX() * ScaleX());
        WriteBlockRecord(Text, X - blockWidth / 2.0, blockWidth);
    }
    FCursorXPos = X * ScaleX() / 100.0;
    const double radians = FontRotation() * std::numbers::pi / 180.0;
    FCursorXPos += std::cos(radians) * width / 2.0;
    FCursorYPos -= std::sin(radians) * width / 2.0;
}

void TFoSnapshotWriter::EmitRightText(const QString &Text, double X) {
    if (NeedsPositionedText(Text)) {
        WriteTextRecord(scRightText, Text, X);
    } else {
        const double blockWidth = XU2I(TextWidth(Text)) * 10000.0 / (ScaleX() * ScaleX());
        WriteBlockRecord(Text, X - blockWidth, blockWidth);
    }
    FCursorXPos = X * ScaleX() / 100.0;
}

void TFoSnapshotWriter::EmitBlockText(const QString &Text, double X, double Width) {
    WriteBlockRecord(Text, X, Width);
    FCursorXPos = X + Width;
}

} // namespace fiscora
