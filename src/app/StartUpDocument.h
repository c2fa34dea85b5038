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

// Runs the window of the document's kind until it closes and returns the program's exit code; with
// no document, runs the main window. A kind this build has no window for is refused with an
// ECustomException.
int OpenStartUpDocument(const TStartUpDocument &document, const std::function<int()> &runMainWindow);

} // namespace fiscora
