// Snapshot writer: page-independent variables, their placeholders and values.
#include "report/snapshot/FoFiler.h"

#include "report/core/FoMacros.h"
#include "report/snapshot/FoSnapshotCodes.h"

#include <algorithm>

namespace fiscora {

namespace {

quint8 VarLength(const QString &Value) {
    return static_cast<quint8>(std::min<qsizetype>(Value.size(), SnapshotMaxVarLength));
}

} // namespace

TFoSnapshotWriter::TVarEntry *TFoSnapshotWriter::FindVar(const QString &Name) {
    for (TVarEntry &entry : VarList)
        if (entry.Name.compare(Name, Qt::CaseInsensitive) == 0)
            return &entry;
    return nullptr;
}

void TFoSnapshotWriter::WriteVarDefined(const QString &Value) {
    const quint8 length = VarLength(Value);
    FOutput->WriteByte(length);
    FOutput->WriteByte(length);
    for (int i = 0; i < length; ++i)
        FOutput->WriteWord(Value.at(i).unicode());
}

void TFoSnapshotWriter::WriteVarPlaceholder(qint64 BackReference) {
    FOutput->WriteByte(VarPlaceholderCapacity);
    FOutput->WriteByte(VarKindPlaceholder);
    FOutput->WriteInt(static_cast<qint32>(BackReference));
    const char zeros[VarPlaceholderCapacity - sizeof(qint32)] = {};
    FOutput->Write(zeros, sizeof zeros);
}

QString TFoSnapshotWriter::PIVar(const QString &VarName) {
    const QString marker = VariableMarker(VarName);
    // A placeholder's position is patched later, so it is only recorded where a page really holds it.
    if (!CanWrite())
        return marker;
    TVarEntry *entry = FindVar(VarName);
    if (entry && entry->Position > 0)
        return marker; // a placeholder is already pending
    const qint64 backReference = entry ? entry->Position : 0;
    FOutput->WriteByte(scVariableData);
    FOutput->WriteString(VarName);
    const qint64 position = FOutput->Position();
    WriteVarPlaceholder(backReference);
    if (entry)
        entry->Position = position;
    else
        VarList.push_back({VarName, position});
    return marker;
}

void TFoSnapshotWriter::SetPIVar(const QString &VarName, const QString &VarValue) {
    if (!FOutput || !Printing() || FHoldOutput)
        return;
    TVarEntry *entry = FindVar(VarName);
    if (entry && entry->Position > 0) {
        // Patch the pending placeholder in place: C stays the placeholder's, B is the value's length.
        const quint8 length = VarLength(VarValue);
        QByteArray patch;
        patch.append(char(VarPlaceholderCapacity));
        patch.append(char(length));
        for (int i = 0; i < length; ++i) {
            const char16_t unit = VarValue.at(i).unicode();
            patch.append(char(unit & 0xFF));
            patch.append(char(unit >> 8));
        }
        FOutput->Patch(entry->Position, patch.constData(), patch.size());
        std::erase_if(VarList, [entry](const TVarEntry &candidate) { return &candidate == entry; });
        return;
    }
    if (!CanWrite()) {
        // Pages outside the selection hold no records, but later pages still show the value.
        if (entry)
            *entry = {entry->Name, 0, VarValue};
        else
            VarList.push_back({VarName, 0, VarValue});
        return;
    }
    FOutput->WriteByte(scVariableData);
    FOutput->WriteString(VarName);
    const qint64 position = FOutput->Position();
    WriteVarDefined(VarValue);
    if (entry)
        *entry = {entry->Name, -position};
    else
        VarList.push_back({VarName, -position});
}

} // namespace fiscora
