#pragma once

#include "Form4562.h"

#include <QTableWidget>

namespace fiscora {

// The Form 4562 lines of one tax year, line by line, as a small read-only table.
class Form4562Table : public QTableWidget {
    Q_OBJECT
public:
    explicit Form4562Table(QWidget *parent = nullptr);

    void ShowForm(const Form4562 &form);
};

} // namespace fiscora
