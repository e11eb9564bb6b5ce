#include "ui/unit3d_6.h"

#include <QFontDatabase>
#include <QHBoxLayout>
#include <QLabel>
#include <QLinearGradient>
#include <QPainter>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace morvane {

namespace {

const char* const GuideLines[][2] = {
    {"RIGHT MOUSE BUTTON", "Rotate de Room."},
    {"CTRL+RIGHT MOUSE BUTTON", "Zoom In/Out."},
    {"SHIFT+RIGHT MOUSE BUTTON", "Pan Room."},
    {"CLICK", "Put Floor Shape."},
    {"CTRL+CLICK", "Put Ceiling Shape"},
    {"SHIFT+CLICK", "Put inverted Floor Shape"},
    {"SHIFT+CTRL+CLICK", "Put inverted Ceiling Shape."},
    {"ALT+CLICK", "Put the current portal view."},
    {"CURSOR UP/DOWN  KEY", "Up/Down the Height Selector."},
    {"CLICK (over the neighbor room)", "Make the Neighbor room  current."},
};

QPushButton* OkButton(QDialog* dialog) {
    auto* ok = new QPushButton("OK", dialog);
    ok->setObjectName("Button1");
    ok->setDefault(true);
    QObject::connect(ok, &QPushButton::clicked, dialog, &QDialog::accept);
    return ok;
}

// The about box's picture: a room of blocks in the editor's colours.
QPixmap AboutPicture() {
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

QString KeysGuideText() {
    const QString rule(72, '=');
    QString text = rule + "\n";
    text += QString("   Quillon's Morvane3D   version %1   %2\n").arg(ProgramVersion, ProgramDate);
    text += rule + "\n";
    for (const auto& line : GuideLines) {
        text += QString("%1  %2\n").arg(QString(line[0]), -34).arg(line[1]);
    }
    text += rule + "\n";
    text += "In TEXTURE PANEL window:  Point a Texture and press 1,2,3 or 4 key to\n";
    text += "select the texture to the floor, wall-floor, ceiling and ceiling-wall texture.\n";
    text += "In the Render window: point a sector a press SPACEBAR for get the Textures \n";
    text += "from that sector.\n";
    text += rule + "\n";
    return text;
}

TForm6::TForm6(QWidget* parent) : QDialog(parent) {
    setObjectName("TForm6");
    setWindowTitle("Keys Guide");
    auto* layout = new QVBoxLayout(this);
    auto* memo = new QPlainTextEdit(this);
    memo->setObjectName("Memo1");
    memo->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    memo->setPlainText(KeysGuideText());
    memo->setMinimumSize(620, 320);
    layout->addWidget(memo);
    auto* buttons = new QHBoxLayout();
    buttons->addStretch();
    buttons->addWidget(OkButton(this));
    layout->addLayout(buttons);
    // Edits to the guide are not kept: it is filled again each time it is shown.
    connect(this, &QDialog::finished, memo, [memo] { memo->setPlainText(KeysGuideText()); });
}

TForm5::TForm5(QWidget* parent) : QDialog(parent) {
    setObjectName("TForm5");
    setWindowTitle("About...");
    auto* layout = new QVBoxLayout(this);
    auto* picture = new QLabel(this);
    picture->setPixmap(AboutPicture());
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
    auto* buttons = new QHBoxLayout();
    buttons->addStretch();
    buttons->addWidget(OkButton(this));
    buttons->addStretch();
    layout->addLayout(buttons);
}

} // namespace morvane
