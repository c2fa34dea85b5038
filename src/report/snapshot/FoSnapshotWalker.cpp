#include "report/snapshot/FoSnapshotWalker.h"

#include "report/core/FoStreamAnsi.h"
#include "report/snapshot/FoSnapshotCodes.h"

#include <QtEndian>

#include <charconv>

namespace fiscora {

namespace {

QVariantMap Point(double x, double y) {
    return {{QStringLiteral("X"), x}, {QStringLiteral("Y"), y}};
}

} // namespace

double StoredFloat(double value) {
    const auto single = static_cast<float>(value);
    char text[32];
    const auto result = std::to_chars(text, text + sizeof text, single);
    double shortest = single;
    std::from_chars(text, result.ptr, shortest);
    return shortest;
}

TFoSnapshotWalker::TFoSnapshotWalker(QIODevice &Stream) : FReader(Stream) {}

TFoReportHeader TFoSnapshotWalker::ReadHeader() {
    FHeader = ReadSnapshotReportHeader(FReader, false);
    return FHeader;
}

bool TFoSnapshotWalker::ReadPage(TSnapshotPage &Page) {
    Page = TSnapshotPage();
    if (FReader.Remaining() == 0)
        return false;
    Page.Position = FReader.Position();
    Page.Header = ReadSnapshotPageHeader(FReader, FHeader);
    Page.Orientation = FHeader.Orientation;
    Page.Bin = FHeader.Bin;
    for (;;) {
        const qint64 position = FReader.Position();
        const quint8 code = FReader.ReadByte();
        if (code == scPageEnd)
            return true;
        if (!SnapshotRecordLayout(code) || code == scPageHeader)
            RaiseSnapshotError(QStringLiteral("Unexpected code [%1] found in report file.").arg(code));
        Page.Records.push_back(ReadRecord(code));
        Page.Records.back().Position = position;
    }
}

TSnapshotRecord TFoSnapshotWalker::ReadRecord(quint8 Code) {
    TSnapshotRecord record;
    record.Code = Code;
    const TSnapshotRecordLayout *layout = SnapshotRecordLayout(Code);
    record.Name = QString::fromLatin1(layout->Name);
    for (const TSnapshotField &field : layout->FieldList()) {
        if (FHeader.FileVer < field.MinVersion)
            continue;
        const QString name = QString::fromLatin1(field.Name);
        QVariant value = ReadField(field.Type, name, record.Fields);
        if (value.isValid())
            record.Fields.emplace_back(name, std::move(value));
    }
    return record;
}

QVariantMap TFoSnapshotWalker::ReadGraphicBlock() {
    const quint8 kind = FReader.ReadByte();
    QVariantMap block{{QStringLiteral("Kind"), double(kind & ~GraphicReferenceFlag)}};
    if (kind & GraphicReferenceFlag) {
        block.insert(QStringLiteral("Reference"), double(FReader.ReadInt()));
    } else {
        const qint32 length = FReader.ReadInt();
        FReader.Skip(length);
        block.insert(QStringLiteral("Length"), double(length));
    }
    return block;
}

QVariant TFoSnapshotWalker::ReadField(TSnapshotFieldType Type, const QString &Name, TSnapshotFields &Fields) {
    switch (Type) {
    case TSnapshotFieldType::Byte:
        return double(FReader.ReadByte());
    case TSnapshotFieldType::Word:
        return double(FReader.ReadWord());
    case TSnapshotFieldType::SmallInt:
        return double(FReader.ReadSmallInt());
    case TSnapshotFieldType::Int:
        return double(FReader.ReadInt());
    case TSnapshotFieldType::Colour:
        return double(static_cast<quint32>(FReader.ReadInt()));
    case TSnapshotFieldType::Float:
        return double(StoredFloat(FReader.ReadFloat()));
    case TSnapshotFieldType::String:
        return FReader.ReadString();
    case TSnapshotFieldType::Point: {
        const double x = StoredFloat(FReader.ReadFloat());
        return Point(x, StoredFloat(FReader.ReadFloat()));
    }
    case TSnapshotFieldType::Rect: {
        const double x1 = StoredFloat(FReader.ReadFloat());
        const double y1 = StoredFloat(FReader.ReadFloat());
        const double x2 = StoredFloat(FReader.ReadFloat());
        const double y2 = StoredFloat(FReader.ReadFloat());
        return QVariantMap{{QStringLiteral("X1"), x1},
                           {QStringLiteral("Y1"), y1},
                           {QStringLiteral("X2"), x2},
                           {QStringLiteral("Y2"), y2}};
    }
    case TSnapshotFieldType::Graphic:
        return ReadGraphicBlock();
    case TSnapshotFieldType::FlaggedGraphic: {
        const quint8 flag = FReader.ReadByte();
        Fields.emplace_back(Name, double(flag));
        if (flag == 1)
            Fields.emplace_back(QStringLiteral("Graphic"), ReadGraphicBlock());
        return {};
    }
    case TSnapshotFieldType::VarValue: {
        const TVarValueBlock value = FReader.ReadVarValueBlock();
        QVariantMap block{{QStringLiteral("C"), double(value.Capacity)},
                          {QStringLiteral("B"), double(value.Length)}};
        if (value.IsReference())
            block.insert(QStringLiteral("Position"), double(value.Position));
        else
            block.insert(QStringLiteral("Value"), value.Value);
        return block;
    }
    case TSnapshotFieldType::PointList: {
        const int highIndex = FReader.ReadWord();
        FReader.Require((highIndex + 1) * 8);
        Fields.emplace_back(QStringLiteral("H"), double(highIndex));
        QVariantList points;
        for (int i = 0; i <= highIndex; ++i) {
            const double x = StoredFloat(FReader.ReadFloat());
            points.append(Point(x, StoredFloat(FReader.ReadFloat())));
        }
        return points;
    }
    case TSnapshotFieldType::RawBytes: {
        const qint32 length = FReader.ReadInt();
        FReader.Skip(length);
        return QVariantMap{{QStringLiteral("Length"), double(length)}};
    }
    }
    return {};
}

} // namespace fiscora
