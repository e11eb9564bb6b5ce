#pragma once

#include "levelbuild/level_usage.h"

#include <QColor>
#include <QWidget>

class QLabel;

namespace morvane {

// "Limits": how much of the level's capacities the current room (vertices, rectangles,
// triangles), the whole project (boxes, overlap words, floor-data words) and the base level
// (object and sprite textures, texture pages) use, as the build counts them; a count above 90 % of
// its capacity shows amber, above 100 % red. Where the layout's own engine holds less, its limit
// follows the count ("engine 1500") and the tip names it and its source; a count above it shows
// amber.
class LimitsPanel : public QWidget {
    Q_OBJECT
public:
    explicit LimitsPanel(QWidget* parent = nullptr);

    void showRoom(const RoomUse& use);
    void showProject(const ProjectUse& use);
    // The objects: the current room's static meshes and lights, the level's items (Lara's
    // included) and cameras.
    void showObjects(const CapacityUse& roomStatics, const CapacityUse& roomLights,
                     const CapacityUse& items, const CapacityUse& cameras);
    // What the base level brings: object textures, sprite textures, texture pages.
    void showBaseLevel(const BaseLevelUse& use);

    static inline const QColor HighColor{255, 191, 0}; // amber
    static inline const QColor OverColor{215, 40, 40}; // red

    QLabel *roomVerticesLabel, *roomRectanglesLabel, *roomTrianglesLabel;
    QLabel *roomStaticsLabel, *roomLightsLabel;
    QLabel *levelBoxesLabel, *levelOverlapWordsLabel, *levelFloorDataWordsLabel;
    QLabel *levelItemsLabel, *levelCamerasLabel;
    QLabel *baseObjectTexturesLabel, *baseSpriteTexturesLabel, *baseTexturePagesLabel;
    // What stops the build before it counts, when something does.
    QLabel* projectProblemLabel;
};

} // namespace morvane
