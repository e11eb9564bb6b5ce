#pragma once

#include "image/rgb_image.h"
#include "image/texture_strip.h"
#include "level/level_data.h"

#include <QImage>
#include <QWidget>

#include <array>
#include <vector>

class QScrollArea;

namespace morvane {

// An RGB image of the image toolkit as a Qt image.
QImage toQImage(const RgbImage& image);

// One strip of textures drawn half as large again as it is (a 64-pixel cell shows 96 pixels
// wide), painting only the part on screen.
class TextureStripView : public QWidget {
    Q_OBJECT
public:
    explicit TextureStripView(QWidget* parent);
    void setStrip(const TextureStrip& strip);
    // The on-screen height of one cell: cellH + cellH / 2 (96, 48, 24).
    int step() const { return step_; }
    uint32_t count() const { return static_cast<uint32_t>(numbers_.size()); }
    uint32_t numberOfCell(uint32_t cell) const { return numbers_[cell - 1]; }

signals:
    void hovered(int y);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;

private:
    QImage image_;
    std::vector<uint32_t> numbers_;
    int step_ = 96;
};

// "TEXTURES": every 64x64, 64x32 and 64x16 texture of the level in three columns, docked in
// the main window. Hovering a texture shows its number in the title; the keys 1 to 4 give it to the
// tool bar's floor, floor walls, ceiling and ceiling walls.
class TexturePicker : public QWidget {
    Q_OBJECT
public:
    explicit TexturePicker(QWidget* parent = nullptr);

    // Rebuilds the three strips from the level; currentTexture becomes the first 64x64 one.
    void loadStrips(const TLevelData& level);
    // The pointer over strip 0, 1 or 2 at y pixels from its top.
    void hoverStrip(int strip, int y);
    // Key 1..4 (without Ctrl, Alt or Shift) gives the texture last pointed at to a tool bar
    // field; false for any other key, or before a texture was pointed at. The main window hands
    // the keys pressed while the pointer is over the picker, whichever control has the focus.
    bool chooseTexture(int key, Qt::KeyboardModifiers modifiers);

    uint16_t currentTexture = 0;
    int currentStripHeight = 0; // 64, 32 or 16 once the mouse was over a strip
    uint32_t hoveredCell = 0;
    // The 64x64, 64x32 and 64x16 strips, and the scroll areas that hold them.
    std::array<TextureStripView*, 3> stripViews{};
    std::array<QScrollArea*, 3> stripScrollAreas{};

signals:
    // Key 1..4 pressed over the window: the tool bar field (0 floor, 1 floor walls, 2 ceiling,
    // 3 ceiling walls) gets the texture number.
    void textureChosen(int field, int number);

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    std::array<TextureStrip, 3> strips_;
};

} // namespace morvane
