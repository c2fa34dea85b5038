#include "NewBookDialog.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLineEdit>
#include <QLocale>
#include <QPushButton>

namespace fiscora {

NewBookDialog::NewBookDialog(const QString &suggestedName, QWidget *parent) : QDialog(parent) {
    setWindowTitle(QStringLiteral("New Book"));
    EdtName = new QLineEdit(suggestedName, this);
    CbxYearEnd = new QComboBox(this);
    const QLocale english(QLocale::English, QLocale::UnitedStates);
    for (int month = 1; month <= 12; ++month)
        CbxYearEnd->addItem(english.standaloneMonthName(month), month);
    CbxYearEnd->setCurrentIndex(11);
    Buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    auto *layout = new QFormLayout(this);
    layout->addRow(QStringLiteral("Business &name:"), EdtName);
    layout->addRow(QStringLiteral("Tax year &ends in:"), CbxYearEnd);
    layout->addRow(Buttons);
    connect(Buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(Buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    // A book without a name cannot be told from another in the title bar and the reports.
    const auto updateOk = [this] {
        Buttons->button(QDialogButtonBox::Ok)->setEnabled(!BookName().isEmpty());
    };
    connect(EdtName, &QLineEdit::textChanged, this, updateOk);
    updateOk();
}

QString NewBookDialog::BookName() const {
    return EdtName->text().trimmed();
}

int NewBookDialog::YearEndMonth() const {
    return CbxYearEnd->currentData().toInt();
}

} // namespace fiscora
