#include "ui/about_dialog.h"

#include "ui/named_controls.h"
#include "ui/program_version.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QLinearGradient>
#include <QPainter>
#include <QVBoxLayout>

namespace morvane {

namespace {

// The about box's picture: a room of blocks in the editor's colours.
QPixmap aboutPicture() {
    QImage image(360, 150, QImage::Format_RGB32);
    QPainter painter(&image);
    QLinearGradient sky(0, 0, 0, 150);
    sky.setColorAt(0, QColor(20, 24, 40));
    sky.setColorAt(1, QColor(60, 70, 110));
    painter.fillRect(image.rect(), sky);
    painter.setRenderHint(QPainter::Antialiasing);
    const QColor faces[3] = {QColor(200, 120, 80), QColor(150, 85, 55), QColor(230, 170, 120)};
    for (int i = 0; i < 7; ++i) {
        const int height = 20 + (i * 37 % 5) * 12, x = 40 + i * 40, base = 130;
        const QPolygon front({QPoint(x, base), QPoint(x + 30, base), QPoint(x + 30, base - height),
                              QPoint(x, base - height)});
        const QPolygon side({QPoint(x + 30, base), QPoint(x + 42, base - 10),
                             QPoint(x + 42, base - height - 10), QPoint(x + 30, base - height)});
        const QPolygon top({QPoint(x, base - height), QPoint(x + 30, base - height),
                            QPoint(x + 42, base - height - 10),
                            QPoint(x + 12, base - height - 10)});
        painter.setPen(QColor(40, 30, 30));
        painter.setBrush(faces[0]);
        painter.drawPolygon(front);
        painter.setBrush(faces[1]);
        painter.drawPolygon(side);
        painter.setBrush(faces[2]);
        painter.drawPolygon(top);
    }
    painter.setPen(QColor(0, 255, 0));
    painter.setFont(QFont("Sans", 22, QFont::Bold));
    painter.drawText(QRect(0, 4, 360, 40), Qt::AlignCenter, "Morvane3D");
    return QPixmap::fromImage(image);
}

} // namespace

AboutDialog::AboutDialog(QWidget* parent) : QDialog(parent) {
    setObjectName("aboutDialog");
    setWindowTitle("About...");
    auto* layout = new QVBoxLayout(this);
    auto* picture = new QLabel(this);
    picture->setPixmap(aboutPicture());
    layout->addWidget(picture);
    for (const QString& line :
         {QString("Morvane3D %1, a level editor for the first three games of the series")
              .arg(ProgramVersion),
          QString("Written on Linux with Qt and OpenGL, %1").arg(ProgramDate),
          QString("by the Morvane3D developers")}) {
        auto* label = new QLabel(line, this);
        label->setAlignment(Qt::AlignCenter);
        layout->addWidget(label);
    }
    auto* ok = closingButton(this, "OK", "okButton", DialogAnswer::Accept);
    ok->setDefault(true);
    auto* buttons = new QHBoxLayout();
    buttons->addStretch();
    buttons->addWidget(ok);
    buttons->addStretch();
    layout->addLayout(buttons);
}

} // namespace morvane
