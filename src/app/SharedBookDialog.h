#pragma once

#include <QDialog>

class QDialogButtonBox;
class QLineEdit;

namespace fiscora {

// Asks for the connection string of a book shared on a database server.
class SharedBookDialog : public QDialog {
    Q_OBJECT
public:
    explicit SharedBookDialog(QWidget *parent = nullptr);

    QString ConnectionString() const;

    QLineEdit *EdtConnection;
    QDialogButtonBox *Buttons;
};

} // namespace fiscora
