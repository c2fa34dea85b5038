#pragma once

#include <QString>
#include <QWidget>

class QTextBrowser;

namespace fiscora {

// The application's own help viewer: a small window showing the help file at the anchor of a context.
class HelpWindow : public QWidget {
    Q_OBJECT
public:
    explicit HelpWindow(QWidget *parent);

    // The help file, given by bare name (looked up as the program's data files are, FindDataFile) or by
    // full path.
    static void SetHelpFile(const QString &fileName);
    static QString HelpFilePath();

    // The anchor that context number n jumps to.
    static QString ContextAnchor(int context);

    // Shows the help file at the context's anchor; a missing file is reported and the window stays hidden.
    bool ShowContext(int context);

    QTextBrowser *Browser() const { return FBrowser; }

private:
    void CentreOnParent();

    QTextBrowser *FBrowser;
};

} // namespace fiscora
