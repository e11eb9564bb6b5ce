#pragma once

#include "levelbuild/report_lines.h"

#include <QWidget>

#include <vector>

class QCheckBox;
class QTreeWidget;
class QTreeWidgetItem;

namespace morvane {

// One line of a report as the dock shows it: its kind, its text and the place it names.
struct ShownReportLine {
    ReportKind Kind = ReportKind::Note;
    QString Text;
    ReportPlace Place;
};

// The "Messages" dock: the builds' and the imports' reports, the newest on top, each under a
// heading with its time, its lines marked by their kind. The kinds can be hidden each on their
// own. Activating a line (a double-click, Enter) that names a room asks for its place.
class MessagesDock : public QWidget {
    Q_OBJECT
public:
    explicit MessagesDock(QWidget* parent = nullptr);

    // A report on top of the others; the one before it folds away, the oldest go beyond a few
    // dozen.
    void addReport(const QString& title, const std::vector<ShownReportLine>& lines);
    void showKind(ReportKind kind, bool shown);

    QTreeWidget* list() const { return list_; }
    // The place a line of the list names (none for a heading).
    static ReportPlace placeOf(const QTreeWidgetItem& item);
    static ReportKind kindOf(const QTreeWidgetItem& item);

    static constexpr int KeptReports = 30;

signals:
    void placeChosen(const ReportPlace& place);

private:
    void updateKindCounts();

    QTreeWidget* list_;
    QCheckBox* kindBoxes_[3];
};

} // namespace morvane
