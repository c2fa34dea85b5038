#pragma once

#include <QString>

#include <functional>
#include <optional>

class QWidget;

namespace fiscora {

// One open or save file dialog, its filter written "Name|pattern|Name|pattern" as the report
// components keep it; the filter index counts from 1.
struct TFileDialogRequest {
    enum class TKind { Open, Save };
    TKind Kind = TKind::Save;
    QString Title;
    QString Filter;
    int FilterIndex = 1;
    QString DefaultExtension; // without the "."
    QString FileName;
};

struct TFileDialogAnswer {
    QString FileName;
    int FilterIndex = 1;
};

// Asks through the installed runner (a QFileDialog when none is installed); nothing when cancelled.
// Save dialogs ask before overwriting; open dialogs want an existing file. A filter index outside the
// filter means its first entry, in the request and in the answer; a saved file name without an
// extension gets the default extension.
std::optional<TFileDialogAnswer> AskFileName(QWidget *parent, const TFileDialogRequest &request);

// Tests answer file dialogs through a runner of their own; an empty runner restores the dialog.
using TFileDialogRunner = std::function<std::optional<TFileDialogAnswer>(const TFileDialogRequest &request)>;
TFileDialogRunner InstallFileDialogRunner(TFileDialogRunner runner);

// "Name|*.a;*.b|Other|*.c" as Qt's "Name (*.a *.b);;Other (*.c)"; a name that already ends with its
// pattern in parentheses keeps it once.
QString QtFileFilter(const QString &pipeFilter);

} // namespace fiscora
