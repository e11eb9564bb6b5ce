#include "ui/unit3d_4.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace morvane {

TForm4::TForm4(QWidget* parent) : QDialog(parent) {
    setObjectName("TForm4");
    setWindowTitle("WARNING !!!");
    auto* layout = new QVBoxLayout(this);
    for (const char* line : {"WARNING: ALL THE WORK THAT YOU ", "MADE FOR THIS ROOM WILL BE LOST!!",
                             "DO YOU REALLY WANT TO REBUILD THE ROOM?"}) {
        auto* label = new QLabel(line, this);
        label->setAlignment(Qt::AlignCenter);
        layout->addWidget(label);
    }
    auto* buttons = new QHBoxLayout();
    auto* ok = new QPushButton("OK.", this);
    ok->setObjectName("Button1");
    auto* cancel = new QPushButton("CANCEL", this);
    cancel->setObjectName("Button2");
    cancel->setDefault(true);
    buttons->addStretch();
    buttons->addWidget(ok);
    buttons->addWidget(cancel);
    layout->addLayout(buttons);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
}

} // namespace morvane
