#include "ui/rebuild_warning_dialog.h"

#include "ui/named_controls.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QVBoxLayout>

namespace morvane {

RebuildWarningDialog::RebuildWarningDialog(QWidget* parent) : QDialog(parent) {
    setObjectName("rebuildWarningDialog");
    setWindowTitle("WARNING !!!");
    auto* layout = new QVBoxLayout(this);
    for (const char* line : {"WARNING: ALL THE WORK THAT YOU ", "MADE FOR THIS ROOM WILL BE LOST!!",
                             "DO YOU REALLY WANT TO REBUILD THE ROOM?"}) {
        auto* label = new QLabel(line, this);
        label->setAlignment(Qt::AlignCenter);
        layout->addWidget(label);
    }
    auto* buttons = new QHBoxLayout();
    auto* ok = closingButton(this, "OK.", "okButton", DialogAnswer::Accept);
    auto* cancel = closingButton(this, "CANCEL", "cancelButton", DialogAnswer::Reject);
    cancel->setDefault(true); // a stray Enter keeps the room
    buttons->addStretch();
    buttons->addWidget(ok);
    buttons->addWidget(cancel);
    layout->addLayout(buttons);
}

} // namespace morvane
