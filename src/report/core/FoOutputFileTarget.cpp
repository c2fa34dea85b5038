#include "report/core/FoOutputFileTarget.h"

#include "PartialFile.h"
#include "report/core/FoErrors.h"

#include <QFile>
#include <QFileInfo>

namespace fiscora {

TOutputFileTarget::TOutputFileTarget(const QString &target) : FTarget(target), FWritePath(target) {
    const QFileInfo info(target);
    if (info.isSymLink() || (info.exists() && !info.isFile()))
        return;
    if (!info.exists() || info.size() == 0) {
        FRemoveUncommitted = true;
        return;
    }
    FPartial = std::make_unique<PartialFile>(QFile::encodeName(target).toStdString());
    if (const int error = FPartial->Error())
        throw CannotCreateFileError(target, SystemErrorText(error));
    FWritePath = QFile::decodeName(FPartial->Path().c_str());
}

TOutputFileTarget::~TOutputFileTarget() {
    if (FRemoveUncommitted && !FCommitted)
        QFile::remove(FTarget);
}

void TOutputFileTarget::Commit() {
    if (FPartial)
        if (const int error = FPartial->Commit())
            throw CannotCreateFileError(FTarget, SystemErrorText(error));
    FCommitted = true;
}

} // namespace fiscora
