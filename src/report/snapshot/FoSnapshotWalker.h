#pragma once

#include "report/snapshot/FoSnapshotCodes.h"
#include "report/snapshot/FoSnapshotHeaders.h"
#include "report/snapshot/FoSnapshotReader.h"

#include <QIODevice>
#include <QString>
#include <QVariant>

#include <utility>
#include <vector>

namespace fiscora {

// A record's fields by name, in stream order. Numbers are doubles, texts QStrings (markers not
// expanded), points and rectangles QVariantMaps, graphics and variable blocks QVariantMaps of their parts.
using TSnapshotFields = std::vector<std::pair<QString, QVariant>>;

// A value stored as a single, as the double nearest to its shortest decimal form (0.1, not 0.100000001).
double StoredFloat(double value);

struct TSnapshotRecord {
    qint64 Position = 0;
    quint8 Code = 0;
    QString Name;
    TSnapshotFields Fields;
};

struct TSnapshotPage {
    qint64 Position = 0;
    TFoPageHeader Header;
    TOrientation Orientation = TOrientation::poPortrait; // from the page header in newer files
    qint16 Bin = 0;
    std::vector<TSnapshotRecord> Records;
};

// Reads a snapshot's structure without playing it: the report header, then the pages in stream order
// with every record's fields as stored. Errors raise EFolioReport; what was read before stays.
class TFoSnapshotWalker {
public:
    explicit TFoSnapshotWalker(QIODevice &Stream);

    TFoReportHeader ReadHeader();
    // True when one more page was read into Page; false at the end of the stream.
    // A page cut short keeps the records read so far before the error is raised.
    bool ReadPage(TSnapshotPage &Page);
    TSnapshotRecord ReadRecord(quint8 Code);

    bool AnsiStrings() const { return FReader.AnsiStrings; }

private:
    QVariant ReadField(TSnapshotFieldType Type, const QString &Name, TSnapshotFields &Fields);
    QVariantMap ReadGraphicBlock();

    TFoSnapshotReader FReader;
    TFoReportHeader FHeader;
};

} // namespace fiscora
