#include "Form4562Table.h"

#include "CentsText.h"
#include "Utf8Text.h"

#include <QHeaderView>

namespace fiscora {

Form4562Table::Form4562Table(QWidget *parent) : QTableWidget(0, 3, parent) {
    setObjectName(QStringLiteral("Form4562Table"));
    setHorizontalHeaderLabels(
        {QStringLiteral("Line"), QStringLiteral("Form 4562"), QStringLiteral("Amount")});
    verticalHeader()->hide();
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setSelectionMode(QAbstractItemView::NoSelection);
    setWordWrap(false);
    horizontalHeader()->setSectionResizeMode(0, QHeaderView::ResizeToContents);
    horizontalHeader()->setSectionResizeMode(1, QHeaderView::Stretch);
    horizontalHeader()->setSectionResizeMode(2, QHeaderView::ResizeToContents);
}

void Form4562Table::ShowForm(const Form4562 &form) {
    struct Line {
        QString line;
        QString caption;
        Cents amount;
    };
    std::vector<Line> lines;
    const auto amountLine = [&](const char *line, Cents amount) {
        lines.push_back({QLatin1String(line), ToQString(Form4562LineCaption(line, form.taxYear)), amount});
    };
    amountLine("14", form.line14);
    amountLine("17", form.line17);
    for (const Form4562Line19 &entry : form.line19)
        lines.push_back(
            {ToQString(entry.line),
             ToQString(entry.classification) +
                 (entry.placed.empty() ? QString() : QStringLiteral(", ") + ToQString(entry.placed)),
             entry.deduction});
    amountLine("21", form.line21);
    amountLine("22", form.line22);
    amountLine("25", form.line25);
    for (const Form4562Line26 &entry : form.line26)
        lines.push_back({QStringLiteral("26"), ToQString(entry.description), entry.deduction});
    amountLine("28", form.line28);

    setRowCount(static_cast<int>(lines.size()));
    for (int row = 0; row < rowCount(); ++row) {
        const Line &line = lines[static_cast<std::size_t>(row)];
        auto *amount = new QTableWidgetItem(ToQString(GroupedCentsText(line.amount)));
        amount->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
        setItem(row, 0, new QTableWidgetItem(line.line));
        auto *caption = new QTableWidgetItem(line.caption);
        caption->setToolTip(line.caption); // a long caption is elided in the column
        setItem(row, 1, caption);
        setItem(row, 2, amount);
        if (line.line == QLatin1String("22")) {
            for (int column = 0; column < 3; ++column) {
                QFont bold = item(row, column)->font();
                bold.setBold(true);
                item(row, column)->setFont(bold);
            }
        }
    }
}

} // namespace fiscora
