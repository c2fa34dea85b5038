#pragma once

#include <QString>
#include <QStringList>

#include <functional>

namespace fiscora {

// A document given to the program on its command line (by a file manager's double-click, for one),
// opened in the window of its kind instead of the main window.
enum class TStartUpDocumentKind { None, Snapshot, Book };

struct TStartUpDocument {
    TStartUpDocumentKind Kind = TStartUpDocumentKind::None;
    QString FileName;
};

// Reads the arguments after the program's name, the toolkit's own options already taken out: none,
// or one snapshot file (".fsn") or asset book (".fbook"), the extension in any case. Anything else
// is refused with an ECustomException that names it.
TStartUpDocument ReadStartUpDocument(const QStringList &arguments);

// Runs the window of the document's kind until it closes and returns the program's exit code: a
// snapshot in the preview window; a book in the book window beside the main window, whose fields its
// assets are entered from (`runMainWindow` gets the book's file); with no document, the main window
// alone (an empty file name).
using MainWindowRun = std::function<int(const QString &bookFile)>;
int OpenStartUpDocument(const TStartUpDocument &document, const MainWindowRun &runMainWindow);

} // namespace fiscora
