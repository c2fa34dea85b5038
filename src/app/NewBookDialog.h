#pragma once

#include <QDialog>

class QComboBox;
class QDialogButtonBox;
class QLineEdit;

namespace fiscora {

// The details a new book needs: the business's name and the month its tax year ends.
class NewBookDialog : public QDialog {
    Q_OBJECT
public:
    explicit NewBookDialog(const QString &suggestedName, QWidget *parent = nullptr);

    QString BookName() const;
    int YearEndMonth() const; // 1..12

    QLineEdit *EdtName;
    QComboBox *CbxYearEnd;
    QDialogButtonBox *Buttons;
};

} // namespace fiscora
