#pragma once

#include "image/texture_strip.h"
#include "level/level_data.h"

#include <QImage>
#include <QWidget>

#include <array>
#include <memory>

class QScrollArea;

namespace morvane {

// One strip of textures drawn half as large again as it is (a 64-pixel cell shows 96 pixels
// wide), painting only the part on screen.
class StripView : public QWidget {
    Q_OBJECT
public:
    explicit StripView(QWidget* parent);
    void SetStrip(const TextureStrip& strip);
    // The on-screen height of one cell: cellH + cellH / 2 (96, 48, 24).
    int Step() const { return step_; }
    uint32_t Count() const { return static_cast<uint32_t>(numbers_.size()); }
    uint32_t NumberOfCell(uint32_t cell) const { return numbers_[cell - 1]; }

signals:
    void Hovered(int y);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;

private:
    QImage image_;
    std::vector<uint32_t> numbers_;
    int step_ = 96;
};

// "TEXTURES": every 64x64, 64x32 and 64x16 texture of the level in three columns. Hovering a
// texture shows its number; the keys 1 to 4 give it to the tool bar's floor, floor walls,
// ceiling and ceiling walls.
class TForm8 : public QWidget {
    Q_OBJECT
public:
    explicit TForm8(QWidget* parent = nullptr);

    // Rebuilds the three strips from the level; CurrentTexture becomes the first 64x64 one.
    void LoadStrips(const TLevelData& level);
    // The pointer over strip 0, 1 or 2 at y pixels from its top.
    void HoverStrip(int strip, int y);

    uint16_t CurrentTexture = 0;
    int CurrentStripHeight = 0; // 64, 32 or 16 once the mouse was over a strip
    uint32_t HoveredCell = 0;
    std::array<StripView*, 3> Strips{};
    std::array<QScrollArea*, 3> ScrollBoxes{};

signals:
    // Key 1..4 pressed over the window: the tool bar field (0 floor, 1 floor walls, 2 ceiling,
    // 3 ceiling walls) gets the texture number.
    void TextureChosen(int field, int number);

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    std::array<TextureStrip, 3> strips_;
};

} // namespace morvane
