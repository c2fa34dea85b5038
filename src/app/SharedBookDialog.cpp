#include "SharedBookDialog.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace fiscora {

SharedBookDialog::SharedBookDialog(QWidget *parent) : QDialog(parent) {
    setWindowTitle(QStringLiteral("Open Shared Book"));
    auto *label = new QLabel(QStringLiteral("&Connection string (for example postgresql://server/books or "
                                            "service=firm); passwords come from the password file:"),
                             this);
    label->setWordWrap(true);
    EdtConnection = new QLineEdit(this);
    EdtConnection->setMinimumWidth(420);
    label->setBuddy(EdtConnection);
    Buttons = new QDialogButtonBox(QDialogButtonBox::Open | QDialogButtonBox::Cancel, this);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(label);
    layout->addWidget(EdtConnection);
    layout->addWidget(Buttons);
    connect(Buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(Buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    const auto updateOpen = [this] {
        Buttons->button(QDialogButtonBox::Open)->setEnabled(!ConnectionString().isEmpty());
    };
    connect(EdtConnection, &QLineEdit::textChanged, this, updateOpen);
    updateOpen();
}

QString SharedBookDialog::ConnectionString() const {
    return EdtConnection->text().trimmed();
}

} // namespace fiscora
