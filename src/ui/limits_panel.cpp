#include "ui/limits_panel.h"

#include "ui/named_controls.h"

#include <QGridLayout>
#include <QLabel>

namespace morvane {

namespace {

// The label's own hint, kept when the engine's limit is added to its tip.
constexpr const char* HintProperty = "capacityHint";

void showUse(QLabel* label, const CapacityUse& use) {
    label->setText(QString::fromStdString(UseText(use)));
    if (!label->property(HintProperty).isValid()) {
        label->setProperty(HintProperty, label->toolTip());
    }
    const QString hint = label->property(HintProperty).toString();
    const std::string note = EngineLimitNote(use);
    label->setToolTip(note.empty() ? hint : hint + ". " + QString::fromStdString(note));
    QPalette palette = label->parentWidget()->palette();
    switch (LevelOfUse(use)) {
    case UseLevel::Normal:
        label->setAutoFillBackground(false);
        break;
    case UseLevel::High:
        palette.setColor(QPalette::Window, LimitsPanel::HighColor);
        palette.setColor(QPalette::WindowText, Qt::black);
        label->setAutoFillBackground(true);
        break;
    case UseLevel::Over:
        palette.setColor(QPalette::Window, LimitsPanel::OverColor);
        palette.setColor(QPalette::WindowText, Qt::white);
        label->setAutoFillBackground(true);
        break;
    }
    label->setPalette(palette);
}

} // namespace

LimitsPanel::LimitsPanel(QWidget* parent) : QWidget(parent) {
    setObjectName("limitsPanel");
    setWindowTitle("Limits");
    auto* grid = new QGridLayout(this);
    grid->setContentsMargins(6, 4, 6, 4);
    grid->setVerticalSpacing(2);
    int row = 0;
    auto heading = [&](const char* text) {
        auto* label = new QLabel(QString("<b>%1</b>").arg(text), this);
        grid->addWidget(label, row++, 0, 1, 2);
    };
    auto line = [&](const char* text, const char* name, const char* hint) {
        grid->addWidget(new QLabel(text, this), row, 0);
        auto* value = named(new QLabel("-", this), name, hint);
        value->setMargin(1);
        value->setWordWrap(true); // the engine's limit after the count goes to a second line
        grid->addWidget(value, row++, 1);
        return value;
    };
    heading("Current room");
    roomVerticesLabel =
        line("Vertices", "roomVerticesLabel", "The room's vertices against the 2000 a room holds");
    roomRectanglesLabel = line("Rectangles", "roomRectanglesLabel",
                               "The room's rectangles against the 3000 a room holds");
    roomTrianglesLabel = line("Triangles", "roomTrianglesLabel",
                              "The room's triangles against the 1250 a room holds");
    roomStaticsLabel = line("Static meshes", "roomStaticsLabel",
                            "The room's static meshes against the 50 a room holds");
    roomLightsLabel =
        line("Lights", "roomLightsLabel", "The room's lights against the 15 a room holds");
    heading("Level");
    levelBoxesLabel =
        line("Boxes", "levelBoxesLabel", "The boxes of every room against the level's capacity");
    levelOverlapWordsLabel = line("Overlap words", "levelOverlapWordsLabel",
                                  "The boxes' overlap lists against the level's capacity");
    levelFloorDataWordsLabel = line("Floor-data words", "levelFloorDataWordsLabel",
                                    "The slopes' and portals' floor data against the level's "
                                    "capacity");
    levelItemsLabel = line("Items", "levelItemsLabel",
                           "The project's items, Lara's included, against the 300 a level holds");
    levelCamerasLabel =
        line("Cameras", "levelCamerasLabel", "The project's cameras against the 100 a level holds");
    heading("Base level");
    baseObjectTexturesLabel = line("Object textures", "baseObjectTexturesLabel",
                                   "The base level's object textures against the 3100 a level "
                                   "holds");
    baseSpriteTexturesLabel = line("Sprite textures", "baseSpriteTexturesLabel",
                                   "The base level's sprite textures against the 2000 a level "
                                   "holds");
    baseTexturePagesLabel =
        line("Texture pages", "baseTexturePagesLabel", "The base level's 256 x 256 texture pages");
    projectProblemLabel = named(new QLabel(this), "projectProblemLabel");
    projectProblemLabel->setWordWrap(true);
    projectProblemLabel->hide();
    grid->addWidget(projectProblemLabel, row++, 0, 1, 2);
    grid->setColumnStretch(1, 1);
    grid->setRowStretch(row, 1);
}

void LimitsPanel::showRoom(const RoomUse& use) {
    showUse(roomVerticesLabel, use.Vertices);
    showUse(roomRectanglesLabel, use.Rectangles);
    showUse(roomTrianglesLabel, use.Triangles);
}

void LimitsPanel::showObjects(const CapacityUse& roomStatics, const CapacityUse& roomLights,
                              const CapacityUse& items, const CapacityUse& cameras) {
    showUse(roomStaticsLabel, roomStatics);
    showUse(roomLightsLabel, roomLights);
    showUse(levelItemsLabel, items);
    showUse(levelCamerasLabel, cameras);
}

void LimitsPanel::showBaseLevel(const BaseLevelUse& use) {
    showUse(baseObjectTexturesLabel, use.ObjectTextures);
    showUse(baseSpriteTexturesLabel, use.SpriteTextures);
    showUse(baseTexturePagesLabel, use.TexturePages);
}

void LimitsPanel::showProject(const ProjectUse& use) {
    showUse(levelBoxesLabel, use.Boxes);
    showUse(levelOverlapWordsLabel, use.OverlapWords);
    showUse(levelFloorDataWordsLabel, use.FloorDataWords);
    projectProblemLabel->setText(QString::fromStdString(use.Problem));
    projectProblemLabel->setVisible(!use.Problem.empty());
}

} // namespace morvane
