// The Messages dock: the builds' and the imports' reports, and a line's room, sector or portal
// view made current when the line is activated.
#include "ui/main_window.h"

#include "document/portal_views.h"
#include "document/room_operations.h"
#include "document/sector_numbering.h"
#include "ui/document_text.h"
#include "ui/messages_dock.h"
#include "ui/sector_tool.h"
#include "ui/tool_bar_window.h"

#include <QAction>
#include <QDockWidget>
#include <QLabel>
#include <QListWidget>
#include <QMenu>

namespace morvane {

void MainWindow::createMessagesDock() {
    messagesDock_ = new MessagesDock(this);
    messagesDockWidget_ = new QDockWidget("Messages", this);
    messagesDockWidget_->setObjectName("messagesDock");
    messagesDockWidget_->setFeatures(QDockWidget::DockWidgetClosable |
                                     QDockWidget::DockWidgetMovable |
                                     QDockWidget::DockWidgetFloatable);
    messagesDockWidget_->setWidget(messagesDock_);
    messagesDockWidget_->toggleViewAction()->setObjectName("messagesDockToggle");
    // Under the view only: the docks on the right keep the window's height.
    setCorner(Qt::BottomRightCorner, Qt::RightDockWidgetArea);
    addDockWidget(Qt::BottomDockWidgetArea, messagesDockWidget_);
    messagesDockWidget_->hide(); // until there is something to read
    connect(messagesDock_, &MessagesDock::placeChosen, this,
            [this](const ReportPlace& place) { runGuarded([&] { goToReportPlace(place); }); });

    // In the View menu beside the other docks, before its commands.
    QAction* shown = new QAction("&Messages", viewMenu_);
    shown->setObjectName("viewMessages");
    shown->setCheckable(true);
    QAction* before = nullptr;
    for (QAction* each : viewMenu_->actions()) {
        if (each->isSeparator()) {
            before = each;
            break;
        }
    }
    viewMenu_->insertAction(before, shown);
    connect(messagesDockWidget_->toggleViewAction(), &QAction::toggled, shown,
            &QAction::setChecked);
    connect(shown, &QAction::triggered, this, [this](bool show) {
        messagesDockWidget_->setVisible(show);
        if (show) {
            messagesDockWidget_->raise();
        }
    });
}

void MainWindow::showReport(const QString& title, const std::vector<ReportLine>& lines) {
    std::vector<ShownReportLine> shown;
    shown.reserve(lines.size());
    for (const ReportLine& line : lines) {
        // Room names are the project's single-byte text; file names the file system's.
        shown.push_back(
            {line.Kind,
             line.ProjectText ? fromDocumentText(line.Text) : QString::fromStdString(line.Text),
             line.Place});
    }
    messagesDock_->addReport(title, shown);
    messagesDockWidget_->show();
    messagesDockWidget_->raise();
}

void MainWindow::showBuildReport(const BuildResult& result) {
    const std::vector<ReportLine> lines = BuildReportLines(result);
    if (!lines.empty()) {
        showReport(result.Written ? "Build" : "Build (the level was not written)", lines);
    }
    if (result.Written) {
        // Beside the read-out of Space, which the next Space writes over: a message of the
        // status bar itself would cover it for good.
        statusLabel_->setText(QString::fromStdString(result.Report));
        return;
    }
    // Why nothing was written, in a few lines; the whole list is in the dock.
    if (lines.empty()) {
        return;
    }
    QString text = lines[0].ProjectText ? fromDocumentText(lines[0].Text)
                                        : QString::fromStdString(lines[0].Text);
    if (lines.size() > 1) {
        text += QString("\n\nThe Messages dock lists all %1 lines of the build's report.")
                    .arg(lines.size());
    }
    services_.showMessage(this, text);
}

void MainWindow::goToReportPlace(const ReportPlace& place) {
    if (place.Room < 1 || place.Room > project_.RoomCount) {
        statusLabel_->setText(QString("The project has no room %1.").arg(place.Room));
        return;
    }
    applyOutcome(SelectRoom(project_, scene_, place.Room - 1));
    centerCamera(); // the room in sight, wherever the camera looked before
    const TEditorRoom& room = project_.Room(place.Room);
    int sector = 0;
    if (place.Sector >= 1 && place.Sector <= room.SectorCount()) {
        sector = place.Sector;
    } else if (place.Column >= 1 && place.Column <= room.XSectors && place.Row >= 1 &&
               place.Row <= room.ZSectors) {
        sector = SectorNumber(place.Column, place.Row, room.ZSectors);
    }
    if (place.View >= 1 && place.View <= room.PortalViewCount) {
        auto* views = toolBar_->findChild<QListWidget*>("portalViewList");
        if (views != nullptr && place.View <= views->count()) {
            views->setCurrentRow(place.View - 1);
            toolBar_->showPortalViewFields(PortalViewFieldsOf(project_, place.View));
        }
        if (sector == 0) { // the view shows where it stands by its origin
            const TPortalView& view = room.PortalView(place.View);
            if (view.OriginX >= 1 && view.OriginX <= room.XSectors && view.OriginZ >= 1 &&
                view.OriginZ <= room.ZSectors) {
                sector = SectorNumber(view.OriginX, view.OriginZ, room.ZSectors);
            }
        }
    }
    // The chosen sector is drawn by the sector tool.
    if (sector > 0) {
        setActiveTool(ToolKind::Sector);
    }
    sectorTool_->selectSector(place.Room, sector);
    viewport_.Paint();
}

} // namespace morvane
