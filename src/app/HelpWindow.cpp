#include "HelpWindow.h"

#include "DataFileLocation.h"
#include "MsgBox.h"

#include <QDir>
#include <QFileInfo>
#include <QKeySequence>
#include <QShortcut>
#include <QTextBrowser>
#include <QUrl>
#include <QVBoxLayout>

namespace fiscora {

namespace {

QString &HelpFileName() {
    static QString name = QStringLiteral("Amortix.html");
    return name;
}

} // namespace

HelpWindow::HelpWindow(QWidget *parent) : QWidget(parent, Qt::Window), FBrowser(new QTextBrowser(this)) {
    setWindowTitle(QStringLiteral("Fiscora Help"));
    setObjectName(QStringLiteral("HelpWindow"));
    FBrowser->setObjectName(QStringLiteral("HelpBrowser"));
    FBrowser->setOpenLinks(true);
    FBrowser->setOpenExternalLinks(false);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(FBrowser);
    resize(560, 600);
    auto *closeKey = new QShortcut(QKeySequence(Qt::Key_Escape), this);
    connect(closeKey, &QShortcut::activated, this, &QWidget::close);
}

// A window opened anew appears over the window that asked for it; one already open stays where the
// user put it.
void HelpWindow::CentreOnParent() {
    const QWidget *host = parentWidget() ? parentWidget()->window() : nullptr;
    if (!host || isVisible())
        return;
    QRect frame = frameGeometry();
    frame.moveCenter(host->frameGeometry().center());
    move(frame.topLeft());
}

void HelpWindow::SetHelpFile(const QString &fileName) {
    HelpFileName() = fileName;
}

QString HelpWindow::HelpFilePath() {
    const QString &name = HelpFileName();
    if (QFileInfo(name).isAbsolute())
        return name;
    return FindDataFile(name);
}

QString HelpWindow::ContextAnchor(int context) {
    return QStringLiteral("context%1").arg(context);
}

bool HelpWindow::ShowContext(int context) {
    const QString path = HelpFilePath();
    if (!QFileInfo(path).isReadable()) {
        ShowMsgBox("The help file " + QDir::toNativeSeparators(path).toStdString() + " could not be found.",
                   ApplicationTitle(), 48);
        return false;
    }
    QUrl url = QUrl::fromLocalFile(path);
    url.setFragment(ContextAnchor(context));
    FBrowser->setSource(url);
    FBrowser->scrollToAnchor(ContextAnchor(context));
    CentreOnParent();
    show();
    raise();
    activateWindow();
    return true;
}

} // namespace fiscora
