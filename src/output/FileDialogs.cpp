#include "FileDialogs.h"

#include "ModalRunner.h"

#include <QFileDialog>
#include <QStringList>

namespace fiscora {

namespace {

TFileDialogRunner &InstalledRunner() {
    static TFileDialogRunner runner;
    return runner;
}

std::optional<TFileDialogAnswer> AskWithDialog(QWidget *parent, const TFileDialogRequest &request) {
    QFileDialog dialog(parent, request.Title);
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setOption(QFileDialog::ReadOnly, false);
    const bool open = request.Kind == TFileDialogRequest::TKind::Open;
    dialog.setAcceptMode(open ? QFileDialog::AcceptOpen : QFileDialog::AcceptSave);
    dialog.setFileMode(open ? QFileDialog::ExistingFile : QFileDialog::AnyFile);
    dialog.setDefaultSuffix(request.DefaultExtension);
    const QStringList filters = QtFileFilter(request.Filter).split(QStringLiteral(";;"), Qt::SkipEmptyParts);
    dialog.setNameFilters(filters);
    if (request.FilterIndex >= 1 && request.FilterIndex <= filters.size())
        dialog.selectNameFilter(filters.at(request.FilterIndex - 1));
    if (!request.FileName.isEmpty())
        dialog.selectFile(request.FileName);
    if (RunModal(dialog) != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return std::nullopt;
    return TFileDialogAnswer{dialog.selectedFiles().constFirst(),
                             int(filters.indexOf(dialog.selectedNameFilter())) + 1};
}

} // namespace

std::optional<TFileDialogAnswer> AskFileName(QWidget *parent, const TFileDialogRequest &request) {
    if (const TFileDialogRunner &runner = InstalledRunner())
        return runner(request);
    return AskWithDialog(parent, request);
}

TFileDialogRunner InstallFileDialogRunner(TFileDialogRunner runner) {
    std::swap(InstalledRunner(), runner);
    return runner;
}

QString QtFileFilter(const QString &pipeFilter) {
    const QStringList parts = pipeFilter.split(u'|');
    QStringList filters;
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        const QString patterns = parts.at(i + 1).split(u';', Qt::SkipEmptyParts).join(u' ');
        const QString name = parts.at(i).trimmed();
        const QString suffix = QStringLiteral("(%1)").arg(patterns);
        filters << (name.endsWith(suffix) ? name : name + u' ' + suffix);
    }
    return filters.join(QStringLiteral(";;"));
}

} // namespace fiscora
