#include "ui/view_labels.h"

#include <QEvent>
#include <QPainter>

namespace morvane {

ViewLabels::ViewLabels(QWidget* view) : QWidget(view) {
    setObjectName("viewLabels");
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setAttribute(Qt::WA_NoSystemBackground);
    setGeometry(view->rect());
    view->installEventFilter(this);
}

void ViewLabels::setLabels(std::vector<Label> labels) {
    if (labels.empty() && labels_.empty()) {
        return;
    }
    labels_ = std::move(labels);
    update();
}

bool ViewLabels::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::Resize && watched == parentWidget()) {
        setGeometry(parentWidget()->rect());
    }
    return QWidget::eventFilter(watched, event);
}

void ViewLabels::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    const QFontMetrics metrics = painter.fontMetrics();
    for (const Label& label : labels_) {
        const int width = metrics.horizontalAdvance(label.Text);
        const QRectF box(label.At.x() - width / 2.0 - 2, label.At.y() - metrics.height() - 2,
                         width + 4, metrics.height());
        painter.fillRect(box, QColor(0, 0, 0, 160));
        painter.setPen(QColor(255, 220, 0));
        painter.drawText(box, Qt::AlignCenter, label.Text);
    }
}

} // namespace morvane
