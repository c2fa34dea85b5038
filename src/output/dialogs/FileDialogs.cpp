#include "output/dialogs/FileDialogs.h"

#include "ModalRunner.h"

#include <QFileDialog>
#include <QFileInfo>
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

// An index outside the filter selects its first entry, as the dialog itself does.
int ValidFilterIndex(int index, const QString &pipeFilter) {
    const int entries = int(pipeFilter.count(u'|') + 1) / 2;
    return index >= 1 && index <= entries ? index : 1;
}

} // namespace

std::optional<TFileDialogAnswer> AskFileName(QWidget *parent, const TFileDialogRequest &request) {
    TFileDialogRequest asked = request;
    asked.FilterIndex = ValidFilterIndex(request.FilterIndex, request.Filter);
    const TFileDialogRunner &runner = InstalledRunner();
    std::optional<TFileDialogAnswer> answer = runner ? runner(asked) : AskWithDialog(parent, asked);
    if (!answer)
        return std::nullopt;
    answer->FilterIndex = ValidFilterIndex(answer->FilterIndex, request.Filter);
    // Whoever answered, a saved file always gets the default extension when it names none.
    if (request.Kind == TFileDialogRequest::TKind::Save && !request.DefaultExtension.isEmpty() &&
        QFileInfo(answer->FileName).suffix().isEmpty())
        answer->FileName += u'.' + request.DefaultExtension;
    return answer;
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
