#include "ui/messages_dock.h"

#include "ui/named_controls.h"

#include <QCheckBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QStyle>
#include <QTime>
#include <QTreeWidget>
#include <QVBoxLayout>

#include <string>

namespace morvane {

namespace {

// The place and kind a line keeps, in its first column.
enum Role {
    KindRole = Qt::UserRole,
    RoomRole,
    ColumnRole,
    RowRole,
    SectorRole,
    ViewRole,
};

constexpr int KindCount = 3;

const char* KindWord(ReportKind kind) {
    switch (kind) {
    case ReportKind::Error:
        return "error";
    case ReportKind::Warning:
        return "warning";
    case ReportKind::Note:
        break;
    }
    return "note";
}

QStyle::StandardPixmap KindIcon(ReportKind kind) {
    switch (kind) {
    case ReportKind::Error:
        return QStyle::SP_MessageBoxCritical;
    case ReportKind::Warning:
        return QStyle::SP_MessageBoxWarning;
    case ReportKind::Note:
        break;
    }
    return QStyle::SP_MessageBoxInformation;
}

// The kind is in its own column: the "error: " or "warning: " that begins a finding's line is
// not said twice.
QString WithoutKindWord(const QString& text) {
    for (const char* prefix : {"error: ", "warning: "}) {
        if (text.startsWith(prefix)) {
            return text.mid(static_cast<qsizetype>(std::char_traits<char>::length(prefix)));
        }
    }
    return text;
}

bool IsHeading(const QTreeWidgetItem& item) {
    return item.parent() == nullptr;
}

} // namespace

MessagesDock::MessagesDock(QWidget* parent) : QWidget(parent) {
    setObjectName("messagesPanel");
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(4, 4, 4, 4);
    auto* kinds = new QHBoxLayout();
    const char* names[KindCount] = {"showErrors", "showWarnings", "showNotes"};
    for (int k = 0; k < KindCount; ++k) {
        const auto kind = static_cast<ReportKind>(k);
        kindBoxes_[k] = named(new QCheckBox(this), names[k]);
        kindBoxes_[k]->setChecked(true);
        kindBoxes_[k]->setIcon(style()->standardIcon(KindIcon(kind)));
        connect(kindBoxes_[k], &QCheckBox::toggled, this,
                [this, kind](bool shown) { showKind(kind, shown); });
        kinds->addWidget(kindBoxes_[k]);
    }
    kinds->addStretch();
    layout->addLayout(kinds);

    list_ = named(new QTreeWidget(this), "messagesList",
                  "Double-click a line that names a room to go to its room and sector");
    list_->setColumnCount(2);
    list_->setHeaderLabels({"Kind", "Message"});
    list_->setRootIsDecorated(true);
    list_->setUniformRowHeights(true);
    list_->setWordWrap(false);
    named(list_->header(), "messagesHeader");
    list_->header()->setStretchLastSection(false);
    list_->header()->setSectionResizeMode(0, QHeaderView::ResizeToContents);
    list_->header()->setSectionResizeMode(1, QHeaderView::ResizeToContents);
    list_->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    layout->addWidget(list_, 1);
    connect(list_, &QTreeWidget::itemActivated, this, [this](QTreeWidgetItem* item) {
        if (item != nullptr && !IsHeading(*item) && placeOf(*item).Room > 0) {
            emit placeChosen(placeOf(*item));
        }
    });
    updateKindCounts();
}

void MessagesDock::addReport(const QString& title, const std::vector<ShownReportLine>& lines) {
    if (QTreeWidgetItem* previous = list_->topLevelItem(0)) {
        previous->setExpanded(false);
    }
    int counts[KindCount] = {};
    for (const ShownReportLine& line : lines) {
        ++counts[static_cast<int>(line.Kind)];
    }
    QStringList said;
    for (int k = 0; k < KindCount; ++k) {
        if (counts[k] > 0 && static_cast<ReportKind>(k) != ReportKind::Note) {
            said << QString("%1 %2%3")
                        .arg(counts[k])
                        .arg(KindWord(static_cast<ReportKind>(k)))
                        .arg(counts[k] == 1 ? "" : "s");
        }
    }
    auto* heading = new QTreeWidgetItem();
    heading->setText(0, QTime::currentTime().toString("HH:mm:ss") + "  " + title +
                            (said.isEmpty() ? QString() : " (" + said.join(", ") + ")"));
    QFont bold = heading->font(0);
    bold.setBold(true);
    heading->setFont(0, bold);
    for (const ShownReportLine& line : lines) {
        auto* item = new QTreeWidgetItem(heading);
        item->setText(0, KindWord(line.Kind));
        item->setIcon(0, style()->standardIcon(KindIcon(line.Kind)));
        item->setText(1, WithoutKindWord(line.Text));
        item->setToolTip(1, line.Text);
        item->setData(0, KindRole, static_cast<int>(line.Kind));
        item->setData(0, RoomRole, line.Place.Room);
        item->setData(0, ColumnRole, line.Place.Column);
        item->setData(0, RowRole, line.Place.Row);
        item->setData(0, SectorRole, line.Place.Sector);
        item->setData(0, ViewRole, line.Place.View);
        item->setHidden(!kindBoxes_[static_cast<int>(line.Kind)]->isChecked());
    }
    list_->insertTopLevelItem(0, heading);
    heading->setFirstColumnSpanned(true);
    heading->setExpanded(true);
    while (list_->topLevelItemCount() > KeptReports) {
        delete list_->takeTopLevelItem(list_->topLevelItemCount() - 1);
    }
    list_->scrollToTop();
    updateKindCounts();
}

void MessagesDock::showKind(ReportKind kind, bool shown) {
    QCheckBox* box = kindBoxes_[static_cast<int>(kind)];
    if (box->isChecked() != shown) {
        box->setChecked(shown); // comes back here through its signal
        return;
    }
    for (int r = 0; r < list_->topLevelItemCount(); ++r) {
        QTreeWidgetItem* heading = list_->topLevelItem(r);
        for (int i = 0; i < heading->childCount(); ++i) {
            QTreeWidgetItem* line = heading->child(i);
            if (kindOf(*line) == kind) {
                line->setHidden(!shown);
            }
        }
    }
}

ReportPlace MessagesDock::placeOf(const QTreeWidgetItem& item) {
    ReportPlace place;
    place.Room = item.data(0, RoomRole).toInt();
    place.Column = item.data(0, ColumnRole).toInt();
    place.Row = item.data(0, RowRole).toInt();
    place.Sector = item.data(0, SectorRole).toInt();
    place.View = item.data(0, ViewRole).toInt();
    return place;
}

ReportKind MessagesDock::kindOf(const QTreeWidgetItem& item) {
    return static_cast<ReportKind>(item.data(0, KindRole).toInt());
}

// Each kind's box counts its lines in the list.
void MessagesDock::updateKindCounts() {
    int counts[KindCount] = {};
    for (int r = 0; r < list_->topLevelItemCount(); ++r) {
        const QTreeWidgetItem* heading = list_->topLevelItem(r);
        for (int i = 0; i < heading->childCount(); ++i) {
            ++counts[static_cast<int>(kindOf(*heading->child(i)))];
        }
    }
    const char* texts[KindCount] = {"Errors", "Warnings", "Notes"};
    for (int k = 0; k < KindCount; ++k) {
        kindBoxes_[k]->setText(QString("%1 (%2)").arg(texts[k]).arg(counts[k]));
    }
}

} // namespace morvane
