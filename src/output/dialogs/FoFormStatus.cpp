#include "output/dialogs/FoFormStatus.h"

#include "report/canvas/FoBase.h"
#include "report/system/FoSystem.h"

#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <QVBoxLayout>

namespace fiscora {

TFoStatusForm::TFoStatusForm(TFoSystem &system, QWidget *parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint), ReportSystem(system) {
    setObjectName(QStringLiteral("FoStatusForm"));
    setWindowTitle(QStringLiteral("Report Status"));
    StatusLabel = new QLabel(this);
    StatusLabel->setObjectName(QStringLiteral("StatusLabel"));
    StatusLabel->setAlignment(Qt::AlignCenter);
    StatusLabel->setMinimumHeight(StatusLabel->fontMetrics().lineSpacing() * 3);
    CancelButton = new QPushButton(QStringLiteral("Cancel"), this);
    CancelButton->setObjectName(QStringLiteral("CancelButton"));
    CancelButton->setDefault(true);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(StatusLabel, 1);
    layout->addWidget(CancelButton, 0, Qt::AlignHCenter);
    connect(CancelButton, &QPushButton::clicked, this, [this] { CancelButtonClick(); });
    // Esc and the window's close both mean Cancel.
    connect(this, &QDialog::rejected, this, [this] { CancelButtonClick(); });
    setFixedSize(sizeHint().expandedTo(QSize(361, 113)));
}

TFoStatusForm::~TFoStatusForm() = default;

void TFoStatusForm::CancelButtonClick() {
    if (OnCancel) {
        OnCancel();
        return;
    }
    if (TBaseReport *report = ReportSystem.BaseReport())
        report->Abort();
}

void TFoStatusForm::ShowStatusOf(std::function<void(const QString &)> &statusText) {
    statusText = [label = QPointer<QLabel>(StatusLabel)](const QString &text) {
        if (label)
            label->setText(text);
    };
    CancelButton->setText(QStringLiteral("Cancel"));
    show();
}

} // namespace fiscora
