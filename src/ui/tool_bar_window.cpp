#include "ui/tool_bar_window.h"

#include "document/shape_table.h"
#include "ui/named_controls.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPainter>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QTabWidget>
#include <QToolButton>
#include <QVBoxLayout>

namespace morvane {

namespace {

// The shape buttons, three rows, with the shape each places.
struct ShapeButtonPlace {
    int shape;
    int row, column;
};
constexpr ShapeButtonPlace ShapeButtonPlaces[] = {
    {1, 0, 0}, {2, 0, 1}, {3, 0, 2},  {4, 0, 3}, {8, 1, 0}, {7, 1, 1},
    {6, 1, 2}, {5, 1, 3}, {10, 2, 0}, {9, 2, 1}, {0, 2, 2},
};

// A small block with the shape on top, seen from the front and a little from above.
QIcon shapeIcon(int shape) {
    QPixmap pixmap(40, 32);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    const auto& c = ShapeTable[shape].CornerHeights;
    // Corner (x, z) of the top, heights scaled to 12 pixels; z runs into the picture.
    auto top = [&](int corner, double x, double z) {
        return QPointF(6 + x * 24 + z * 8, 28 - z * 6 - 4 - c[corner] / 1024.0 * 12);
    };
    const QPointF low[4] = {QPointF(6, 28), QPointF(30, 28), QPointF(38, 22), QPointF(14, 22)};
    const QPointF t0 = top(0, 0, 0), t1 = top(1, 1, 0), t2 = top(2, 1, 1), t3 = top(3, 0, 1);
    painter.setPen(QPen(QColor(40, 40, 40), 1));
    painter.setBrush(QColor(150, 150, 160));
    painter.drawPolygon(QPolygonF({low[0], low[1], t1, t0}));
    painter.setBrush(QColor(110, 110, 120));
    painter.drawPolygon(QPolygonF({low[1], low[2], t2, t1}));
    painter.setBrush(ShapeTable[shape].SlopeClass ? QColor(230, 200, 120) : QColor(200, 200, 210));
    painter.drawPolygon(QPolygonF({t0, t1, t2, t3}));
    return QIcon(pixmap);
}

QLabel* texturePreviewLabel(QWidget* parent, const char* name) {
    auto* image = named(new QLabel(parent), name);
    image->setFixedSize(73, 66);
    image->setScaledContents(true);
    image->setFrameShape(QFrame::StyledPanel);
    return image;
}

} // namespace

ToolBarWindow::ToolBarWindow(QWidget* parent)
    : QWidget(parent, Qt::Tool | Qt::WindowStaysOnTopHint) {
    setObjectName("toolBarWindow");
    setWindowTitle("Tools Bar");
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(4, 4, 4, 4);
    pages = named(new QTabWidget(this), "pages");
    layout->addWidget(pages);

    // ---- Rooms
    auto* rooms = new QWidget();
    auto* roomsLayout = new QVBoxLayout(rooms);
    auto* manager = new QGroupBox("Room Manager", rooms);
    auto* managerLayout = new QGridLayout(manager);
    addRoomButton = named(new QPushButton("Add", manager), "addRoomButton", "Add new room");
    roomPropertiesButton = named(new QPushButton("Properties", manager), "roomPropertiesButton",
                                 "Edit room properties");
    deleteRoomButton =
        named(new QPushButton("Delete", manager), "deleteRoomButton", "Delete the last room");
    cloneRoomButton =
        named(new QPushButton("Clone", manager), "cloneRoomButton", "Clone the current room");
    managerLayout->addWidget(addRoomButton, 0, 0);
    managerLayout->addWidget(roomPropertiesButton, 0, 1);
    managerLayout->addWidget(deleteRoomButton, 1, 0);
    managerLayout->addWidget(cloneRoomButton, 1, 1);
    roomsLayout->addWidget(manager);

    auto* render = new QGroupBox("Render Mode", rooms);
    render->setToolTip("Select the render mode");
    auto* renderLayout = new QHBoxLayout(render);
    wireframeModeButton = named(new QRadioButton("Wireframe", render), "wireframeModeButton");
    solidModeButton = named(new QRadioButton("Solid", render), "solidModeButton");
    texturedModeButton = named(new QRadioButton("Textured", render), "texturedModeButton");
    wireframeModeButton->setChecked(true);
    renderLayout->addWidget(wireframeModeButton);
    renderLayout->addWidget(solidModeButton);
    renderLayout->addWidget(texturedModeButton);
    roomsLayout->addWidget(render);

    auto* available = new QGroupBox("Rooms Availibles", rooms);
    auto* availableLayout = new QVBoxLayout(available);
    roomList = named(new QListWidget(available), "roomList", "Make a room current");
    availableLayout->addWidget(roomList);
    roomsLayout->addWidget(available, 1);

    auto* position = new QGridLayout();
    roomXField = namedSpin(rooms, "roomXField", 0, 200, 0, "X position for the room");
    roomYField = namedSpin(rooms, "roomYField", 1, 64, 1, "Y position for the room");
    roomZField = namedSpin(rooms, "roomZField", 0, 200, 0, "Z position for the room");
    position->addWidget(new QLabel("XPos", rooms), 0, 0);
    position->addWidget(new QLabel("YPos", rooms), 0, 1);
    position->addWidget(new QLabel("ZPos", rooms), 0, 2);
    position->addWidget(roomXField, 1, 0);
    position->addWidget(roomYField, 1, 1);
    position->addWidget(roomZField, 1, 2);
    roomsLayout->addLayout(position);

    auto* neighbour = new QHBoxLayout();
    neighbourRoomField =
        namedSpin(rooms, "neighbourRoomField", 0, 128, 0, "Select the neigboring room.");
    currentRoomOnlyBox = named(new QCheckBox("Current Only", rooms), "currentRoomOnlyBox",
                               "Render only the current room");
    neighbour->addWidget(new QLabel("Neighbor", rooms));
    neighbour->addWidget(neighbourRoomField);
    neighbour->addWidget(currentRoomOnlyBox);
    roomsLayout->addLayout(neighbour);
    centerCameraButton = named(new QPushButton("Center Camera", rooms), "centerCameraButton",
                               "Center the camera at the current room");
    roomsLayout->addWidget(centerCameraButton);
    pages->addTab(rooms, "Rooms");

    // ---- Edit
    auto* edit = new QWidget();
    auto* editLayout = new QVBoxLayout(edit);
    auto* direction = new QGroupBox("Direction", edit);
    auto* directionLayout = new QHBoxLayout(direction);
    backFrontDirectionButton = named(new QRadioButton("Back-Front", direction),
                                     "backFrontDirectionButton", "Replicate the rows");
    leftRightDirectionButton = named(new QRadioButton("Left-Right", direction),
                                     "leftRightDirectionButton", "Replicate the columns");
    backFrontDirectionButton->setChecked(true);
    directionLayout->addWidget(backFrontDirectionButton);
    directionLayout->addWidget(leftRightDirectionButton);
    editLayout->addWidget(direction);
    auto* replicate = new QHBoxLayout();
    replicationCountField =
        namedSpin(edit, "replicationCountField", 1, 1000, 1, "How much to replicatte");
    replicate->addWidget(new QLabel("Replicatte", edit));
    replicate->addWidget(replicationCountField);
    editLayout->addLayout(replicate);

    auto* shapes = new QGroupBox("Shapes", edit);
    shapes->setToolTip("Select the shape to use");
    auto* shapesLayout = new QGridLayout(shapes);
    shapeButtons = new QButtonGroup(this);
    shapeButtons->setObjectName("shapeButtons");
    shapeButtons->setExclusive(true);
    for (const ShapeButtonPlace& place : ShapeButtonPlaces) {
        auto* button = new QToolButton(shapes);
        button->setObjectName(QString("shape%1Button").arg(place.shape));
        button->setCheckable(true);
        button->setIcon(shapeIcon(place.shape));
        button->setIconSize(QSize(40, 32));
        button->setToolTip(QString("Shape %1").arg(place.shape));
        shapeButtons->addButton(button, place.shape);
        shapesLayout->addWidget(button, place.row, place.column);
    }
    shapeButton(1)->setChecked(true);
    connect(shapeButtons, &QButtonGroup::idClicked, this,
            [this](int shape) { selectedShape = shape; });
    connect(backFrontDirectionButton, &QRadioButton::toggled, this, [this](bool on) {
        if (on) {
            shapeMirror = 0;
        }
    });
    connect(leftRightDirectionButton, &QRadioButton::toggled, this, [this](bool on) {
        if (on) {
            shapeMirror = TurnedShapeOffset;
        }
    });
    editLayout->addWidget(shapes);

    auto* portals = new QGroupBox("Portals Attrib", edit);
    portals->setToolTip("Select the portals attrib");
    auto* portalsLayout = new QGridLayout(portals);
    roomAboveField = namedSpin(portals, "roomAboveField", 0, 128, 0);
    roomSideField = namedSpin(portals, "roomSideField", 0, 128, 0);
    roomBelowField = namedSpin(portals, "roomBelowField", 0, 128, 0);
    portalsLayout->addWidget(new QLabel("Room Above", portals), 0, 0);
    portalsLayout->addWidget(roomAboveField, 0, 1);
    portalsLayout->addWidget(new QLabel("Room Side", portals), 1, 0);
    portalsLayout->addWidget(roomSideField, 1, 1);
    portalsLayout->addWidget(new QLabel("Room Below", portals), 2, 0);
    portalsLayout->addWidget(roomBelowField, 2, 1);
    editLayout->addWidget(portals);

    auto* put = new QGroupBox("When Click put", edit);
    auto* putLayout = new QHBoxLayout(put);
    putShapesBox = named(new QCheckBox("Shapes", put), "putShapesBox", "Only put the shapes data");
    putTexturesBox =
        named(new QCheckBox("Textures", put), "putTexturesBox", "Only put textures data");
    putPortalsBox =
        named(new QCheckBox("Portals", put), "putPortalsBox", "Only put the portals data");
    for (QCheckBox* box : {putShapesBox, putTexturesBox, putPortalsBox}) {
        box->setChecked(true);
        putLayout->addWidget(box);
    }
    editLayout->addWidget(put);
    editLayout->addStretch();
    pages->addTab(edit, "Edit");

    // ---- Textures: a box for the floors and one for the ceilings, each with the horizontal
    // face's texture and its walls', a number above its preview.
    auto* textures = new QWidget();
    auto* texturesLayout = new QVBoxLayout(textures);
    struct TexturePair {
        const char* title;
        const char* hint;
        const char* label;
        const char* fieldName;
        const char* previewName;
        const char* wallsFieldName;
        const char* wallsPreviewName;
    };
    const TexturePair pairs[2] = {
        {"Floors", "The textures for the floor", "Floor", "floorTextureField",
         "floorTexturePreview", "floorWallsTextureField", "floorWallsTexturePreview"},
        {"Ceilings", "The texture for the ceiling", "Ceiling", "ceilingTextureField",
         "ceilingTexturePreview", "ceilingWallsTextureField", "ceilingWallsTexturePreview"},
    };
    for (int pair = 0; pair < 2; ++pair) {
        const TexturePair& p = pairs[pair];
        auto* box = new QGroupBox(p.title, textures);
        box->setToolTip(p.hint);
        auto* grid = new QGridLayout(box);
        const int face = pair * 2, walls = face + 1;
        textureFields_[face] = namedSpin(box, p.fieldName, 0, 3500, 1);
        textureFields_[walls] = namedSpin(box, p.wallsFieldName, 0, 3500, 1);
        texturePreviews_[face] = texturePreviewLabel(box, p.previewName);
        texturePreviews_[walls] = texturePreviewLabel(box, p.wallsPreviewName);
        grid->addWidget(new QLabel(p.label, box), 0, 0);
        grid->addWidget(new QLabel("Walls", box), 0, 1);
        grid->addWidget(textureFields_[face], 1, 0);
        grid->addWidget(textureFields_[walls], 1, 1);
        grid->addWidget(texturePreviews_[face], 2, 0);
        grid->addWidget(texturePreviews_[walls], 2, 1);
        texturesLayout->addWidget(box);
    }
    floorTextureField = textureFields_[0];
    floorWallsTextureField = textureFields_[1];
    ceilingTextureField = textureFields_[2];
    ceilingWallsTextureField = textureFields_[3];
    floorTexturePreview = texturePreviews_[0];
    floorWallsTexturePreview = texturePreviews_[1];
    ceilingTexturePreview = texturePreviews_[2];
    ceilingWallsTexturePreview = texturePreviews_[3];
    texturesLayout->addStretch();
    pages->addTab(textures, "Textures");

    // ---- Portals
    auto* views = new QWidget();
    auto* viewsLayout = new QVBoxLayout(views);
    auto* box = new QGroupBox("Portal Views", views);
    auto* grid = new QGridLayout(box);
    portalRoomField =
        namedSpin(box, "portalRoomField", 1, 128, 1, "What room the portal will show");
    portalWidthField =
        namedSpin(box, "portalWidthField", 1, 32, 1, "the width in tiles for the portal view");
    portalHeightField = namedSpin(box, "portalHeightField", 1, 32, 1,
                                  "The heigh or long in tiles for the portal view");
    portalFacingBox =
        named(new QComboBox(box), "portalFacingBox", "Where is facing the portal view");
    portalFacingBox->addItems({"Front", "Back", "Left", "Right", "Ceiling", "Floor"});
    grid->addWidget(new QLabel("Room #", box), 0, 0);
    grid->addWidget(new QLabel("Width", box), 0, 1);
    grid->addWidget(new QLabel("Height", box), 0, 2);
    grid->addWidget(portalRoomField, 1, 0);
    grid->addWidget(portalWidthField, 1, 1);
    grid->addWidget(portalHeightField, 1, 2);
    grid->addWidget(new QLabel("Type", box), 2, 0);
    grid->addWidget(portalFacingBox, 2, 1, 1, 2);
    addPortalViewButton =
        named(new QPushButton("Add", box), "addPortalViewButton", "Add new portal view");
    replacePortalViewButton = named(new QPushButton("Replace", box), "replacePortalViewButton",
                                    "Replace the current portal view");
    deletePortalViewButton = named(new QPushButton("Delete", box), "deletePortalViewButton",
                                   "Delete the last portal view");
    grid->addWidget(addPortalViewButton, 3, 0);
    grid->addWidget(replacePortalViewButton, 3, 1);
    grid->addWidget(deletePortalViewButton, 3, 2);
    hidePortalsBox = named(new QCheckBox("Hide Portals", box), "hidePortalsBox");
    grid->addWidget(hidePortalsBox, 4, 0, 1, 3);
    portalViewList =
        named(new QListWidget(box), "portalViewList", "Select the current  portal view");
    grid->addWidget(portalViewList, 5, 0, 1, 3);
    viewsLayout->addWidget(box);
    pages->addTab(views, "Portals");
    pages->setCurrentIndex(0);
    resize(280, 560);
}

QToolButton* ToolBarWindow::shapeButton(int shape) const {
    return static_cast<QToolButton*>(shapeButtons->button(shape));
}

} // namespace morvane
