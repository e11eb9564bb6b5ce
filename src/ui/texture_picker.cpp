#include "ui/texture_picker.h"

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
// Docked under the tool bar the strips share the height; floating, they take the window's.
constexpr int MinimumStripHeight = 160;

} // namespace

QImage toQImage(const RgbImage& image) {
    QImage out(image.Width, image.Height, QImage::Format_RGB888);
    for (int y = 0; y < image.Height; ++y) {
        std::copy_n(image.At(0, y), image.Width * 3, out.scanLine(y));
    }
    return out;
}

TextureStripView::TextureStripView(QWidget* parent) : QWidget(parent) {
    setMouseTracking(true);
    setFixedSize(ShownWidth, 0);
}

void TextureStripView::setStrip(const TextureStrip& strip) {
    image_ = toQImage(IndexedToRgb(strip.Image));
    numbers_ = strip.Numbers;
    step_ = strip.CellHeight + strip.CellHeight / 2;
    setFixedSize(ShownWidth, step_ * static_cast<int>(numbers_.size()));
    update();
}

void TextureStripView::paintEvent(QPaintEvent* event) {
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

void TextureStripView::mouseMoveEvent(QMouseEvent* event) {
    emit hovered(event->position().toPoint().y());
}

TexturePicker::TexturePicker(QWidget* parent) : QWidget(parent) {
    setObjectName("texturePicker");
    setWindowTitle("TEXTURES");
    resize(428, 442);
    auto* layout = new QHBoxLayout(this);
    for (int i = 0; i < 3; ++i) {
        // "64x64", "64x32", "64x16": the size of the strip's textures names its column.
        const QString size = QString("64x%1").arg(CellHeights[i]);
        auto* column = new QVBoxLayout();
        column->addWidget(new QLabel(size, this));
        auto* scroll = new QScrollArea(this);
        scroll->setObjectName("strip" + size + "ScrollArea");
        scroll->setFixedWidth(116);
        scroll->setMinimumHeight(MinimumStripHeight);
        scroll->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
        scroll->setFocusPolicy(Qt::NoFocus);
        auto* view = new TextureStripView(scroll);
        view->setObjectName("strip" + size + "View");
        scroll->setWidget(view);
        scroll->setWidgetResizable(false);
        scroll->verticalScrollBar()->setSingleStep(CellHeights[i] + CellHeights[i] / 2);
        connect(view, &TextureStripView::hovered, this, [this, i](int y) { hoverStrip(i, y); });
        stripViews[i] = view;
        stripScrollAreas[i] = scroll;
        column->addWidget(scroll, 1);
        layout->addLayout(column);
    }
}

void TexturePicker::loadStrips(const TLevelData& level) {
    for (int i = 0; i < 3; ++i) {
        BuildTextureStrip(64, CellHeights[i], level, strips_[i]);
        stripViews[i]->setStrip(strips_[i]);
    }
    currentTexture = static_cast<uint16_t>(strips_[0].Count() > 0 ? strips_[0].Numbers[0] : 0);
    hoveredCell = 1;
}

void TexturePicker::hoverStrip(int strip, int y) {
    TextureStripView* view = stripViews[strip];
    if (y < 0 || view->count() == 0) {
        return;
    }
    const uint32_t cell = static_cast<uint32_t>(y / view->step()) + 1;
    if (cell > view->count()) {
        return; // below the last cell
    }
    hoveredCell = cell;
    const uint32_t number = view->numberOfCell(cell);
    setWindowTitle(QString(strip == 0 ? "TEXTURE# " : "TEXTURA# ") + QString::number(number));
    currentTexture = static_cast<uint16_t>(number);
    currentStripHeight = CellHeights[strip];
}

bool TexturePicker::chooseTexture(int key, Qt::KeyboardModifiers modifiers) {
    const bool plain = (modifiers & ~Qt::KeypadModifier) == Qt::NoModifier;
    if (!plain || key < Qt::Key_1 || key > Qt::Key_4 ||
        (currentStripHeight != 16 && currentStripHeight != 32 && currentStripHeight != 64)) {
        return false;
    }
    emit textureChosen(key - Qt::Key_1, currentTexture);
    return true;
}

void TexturePicker::keyPressEvent(QKeyEvent* event) {
    if (!chooseTexture(event->key(), event->modifiers())) {
        QWidget::keyPressEvent(event);
    }
}

} // namespace morvane
