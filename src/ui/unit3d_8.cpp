#include "ui/unit3d_8.h"

#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QScrollArea>
#include <QScrollBar>
#include <QVBoxLayout>

namespace morvane {

namespace {

constexpr int CellHeights[3] = {64, 32, 16};
constexpr int ShownWidth = 96; // 64 + 64 / 2

QImage ToQImage(const RgbImage& image) {
    QImage out(image.Width, image.Height, QImage::Format_RGB888);
    for (int y = 0; y < image.Height; ++y) {
        std::copy_n(image.At(0, y), image.Width * 3, out.scanLine(y));
    }
    return out;
}

} // namespace

StripView::StripView(QWidget* parent) : QWidget(parent) {
    setMouseTracking(true);
    setFixedSize(ShownWidth, 0);
}

void StripView::SetStrip(const TextureStrip& strip) {
    image_ = ToQImage(IndexedToRgb(strip.Image));
    numbers_ = strip.Numbers;
    step_ = strip.CellHeight + strip.CellHeight / 2;
    setFixedSize(ShownWidth, step_ * static_cast<int>(numbers_.size()));
    update();
}

void StripView::paintEvent(QPaintEvent* event) {
    if (image_.isNull() || height() == 0) {
        return;
    }
    QPainter painter(this);
    const QRect target = event->rect().intersected(rect());
    const double scaleY = double(image_.height()) / height(),
                 scaleX = double(image_.width()) / width();
    const QRectF source(target.x() * scaleX, target.y() * scaleY, target.width() * scaleX,
                        target.height() * scaleY);
    painter.drawImage(QRectF(target), image_, source);
}

void StripView::mouseMoveEvent(QMouseEvent* event) {
    emit Hovered(event->position().toPoint().y());
}

TForm8::TForm8(QWidget* parent) : QWidget(parent, Qt::Window) {
    setObjectName("TForm8");
    setWindowTitle("TEXTURES");
    resize(428, 442);
    auto* layout = new QHBoxLayout(this);
    const char* titles[3] = {"64x64", "64x32", "64x16"};
    for (int i = 0; i < 3; ++i) {
        auto* column = new QVBoxLayout();
        column->addWidget(new QLabel(titles[i], this));
        auto* scroll = new QScrollArea(this);
        scroll->setObjectName(QString("ScrollBox%1").arg(i + 1));
        scroll->setFixedWidth(116);
        scroll->setMinimumHeight(381);
        scroll->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
        scroll->setFocusPolicy(Qt::NoFocus);
        auto* view = new StripView(scroll);
        view->setObjectName(QString("Image%1").arg(i + 1));
        scroll->setWidget(view);
        scroll->setWidgetResizable(false);
        scroll->verticalScrollBar()->setSingleStep(CellHeights[i] + CellHeights[i] / 2);
        connect(view, &StripView::Hovered, this, [this, i](int y) { HoverStrip(i, y); });
        Strips[i] = view;
        ScrollBoxes[i] = scroll;
        column->addWidget(scroll, 1);
        layout->addLayout(column);
    }
}

void TForm8::LoadStrips(const TLevelData& level) {
    for (int i = 0; i < 3; ++i) {
        BuildTextureStrip(64, CellHeights[i], level, strips_[i]);
        Strips[i]->SetStrip(strips_[i]);
    }
    CurrentTexture = static_cast<uint16_t>(strips_[0].Count() > 0 ? strips_[0].Numbers[0] : 0);
    HoveredCell = 1;
}

void TForm8::HoverStrip(int strip, int y) {
    StripView* view = Strips[strip];
    if (y < 0 || view->Count() == 0) {
        return;
    }
    const uint32_t cell = static_cast<uint32_t>(y / view->Step()) + 1;
    if (cell > view->Count()) {
        return; // below the last cell
    }
    HoveredCell = cell;
    const uint32_t number = view->NumberOfCell(cell);
    setWindowTitle(QString(strip == 0 ? "TEXTURE# " : "TEXTURA# ") + QString::number(number));
    CurrentTexture = static_cast<uint16_t>(number);
    CurrentStripHeight = CellHeights[strip];
}

void TForm8::keyPressEvent(QKeyEvent* event) {
    const int key = event->key();
    if (key >= Qt::Key_1 && key <= Qt::Key_4 &&
        (CurrentStripHeight == 16 || CurrentStripHeight == 32 || CurrentStripHeight == 64)) {
        emit TextureChosen(key - Qt::Key_1, CurrentTexture);
        return;
    }
    QWidget::keyPressEvent(event);
}

} // namespace morvane
