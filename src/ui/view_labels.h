#pragma once

#include <QString>
#include <QWidget>

#include <vector>

namespace morvane {

// Texts over the 3D view (the type numbers beside the markers of objects the base level has no
// model for): a see-through widget laid over the view, which the mouse passes through.
class ViewLabels : public QWidget {
    Q_OBJECT
public:
    struct Label {
        QPointF At; // the text's bottom centre, in the view's pixels
        QString Text;
    };

    explicit ViewLabels(QWidget* view);
    // Shown from the next paint; the widget follows the view's size.
    void setLabels(std::vector<Label> labels);
    const std::vector<Label>& labels() const { return labels_; }

protected:
    void paintEvent(QPaintEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    std::vector<Label> labels_;
};

} // namespace morvane
