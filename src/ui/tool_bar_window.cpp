#include "ui/tool_bar_window.h"

#include "document/shape_description.h"
#include "document/shape_table.h"
#include "ui/document_text.h"
#include "ui/named_controls.h"

#include <QApplication>
#include <QBuffer>
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
#include <QSignalBlocker>
#include <QSpinBox>
#include <QTabWidget>
#include <QToolButton>
#include <QVBoxLayout>

#include <algorithm>

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

// What the shape does, beside its picture.
QString shapeToolTip(int shape) {
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    shapeIcon(shape).pixmap(40, 32).save(&buffer, "PNG");
    return QString("<table><tr><td><img src=\"data:image/png;base64,%1\" width=\"40\" "
                   "height=\"32\"></td><td>%2</td></tr></table>")
        .arg(QString::fromLatin1(png.toBase64()),
             QString::fromStdString(ShapeDescription(shape)).toHtmlEscaped());
}

QLabel* texturePreviewLabel(QWidget* parent, const char* name) {
    auto* image = named(new QLabel(parent), name);
    image->setFixedSize(73, 66);
    image->setScaledContents(true);
    image->setFrameShape(QFrame::StyledPanel);
    return image;
}

} // namespace

ToolBarWindow::ToolBarWindow(QWidget* parent) : QWidget(parent) {
    setObjectName("toolBarWindow");
    setWindowTitle("Tools Bar");
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(4, 4, 4, 4);
    pages_ = named(new QTabWidget(this), "pages");
    layout->addWidget(pages_);

    // ---- Rooms
    auto* rooms = new QWidget();
    auto* roomsLayout = new QVBoxLayout(rooms);
    auto* manager = new QGroupBox("Room Manager", rooms);
    auto* managerLayout = new QGridLayout(manager);
    addRoomButton_ = named(new QPushButton("Add", manager), "addRoomButton", "Add new room");
    roomPropertiesButton_ = named(new QPushButton("Properties", manager), "roomPropertiesButton",
                                  "Edit room properties");
    deleteRoomButton_ =
        named(new QPushButton("Delete", manager), "deleteRoomButton", "Delete the last room");
    cloneRoomButton_ =
        named(new QPushButton("Clone", manager), "cloneRoomButton", "Clone the current room");
    managerLayout->addWidget(addRoomButton_, 0, 0);
    managerLayout->addWidget(roomPropertiesButton_, 0, 1);
    managerLayout->addWidget(deleteRoomButton_, 1, 0);
    managerLayout->addWidget(cloneRoomButton_, 1, 1);
    roomsLayout->addWidget(manager);

    auto* render = new QGroupBox("Render Mode", rooms);
    render->setToolTip("Select the render mode");
    auto* renderLayout = new QHBoxLayout(render);
    wireframeModeButton_ = named(new QRadioButton("Wireframe", render), "wireframeModeButton");
    solidModeButton_ = named(new QRadioButton("Solid", render), "solidModeButton");
    texturedModeButton_ = named(new QRadioButton("Textured", render), "texturedModeButton");
    wireframeModeButton_->setChecked(true);
    renderLayout->addWidget(wireframeModeButton_);
    renderLayout->addWidget(solidModeButton_);
    renderLayout->addWidget(texturedModeButton_);
    roomsLayout->addWidget(render);

    auto* available = new QGroupBox("Rooms Availibles", rooms);
    auto* availableLayout = new QVBoxLayout(available);
    roomList_ = named(new QListWidget(available), "roomList", "Make a room current");
    availableLayout->addWidget(roomList_);
    roomsLayout->addWidget(available, 1);

    auto* position = new QGridLayout();
    roomXField_ = namedSpin(rooms, "roomXField", 0, 200, 0, "X position for the room");
    roomYField_ = namedSpin(rooms, "roomYField", 1, 64, 1, "Y position for the room");
    roomZField_ = namedSpin(rooms, "roomZField", 0, 200, 0, "Z position for the room");
    position->addWidget(new QLabel("XPos", rooms), 0, 0);
    position->addWidget(new QLabel("YPos", rooms), 0, 1);
    position->addWidget(new QLabel("ZPos", rooms), 0, 2);
    position->addWidget(roomXField_, 1, 0);
    position->addWidget(roomYField_, 1, 1);
    position->addWidget(roomZField_, 1, 2);
    roomsLayout->addLayout(position);

    auto* neighbour = new QHBoxLayout();
    neighbourRoomField_ =
        namedSpin(rooms, "neighbourRoomField", 0, 128, 0, "Select the neigboring room.");
    currentRoomOnlyBox_ = named(new QCheckBox("Current Only", rooms), "currentRoomOnlyBox",
                                "Render only the current room");
    neighbour->addWidget(new QLabel("Neighbor", rooms));
    neighbour->addWidget(neighbourRoomField_);
    neighbour->addWidget(currentRoomOnlyBox_);
    roomsLayout->addLayout(neighbour);
    centerCameraButton_ = named(new QPushButton("Center Camera", rooms), "centerCameraButton",
                                "Center the camera at the current room");
    roomsLayout->addWidget(centerCameraButton_);
    pages_->addTab(rooms, "Rooms");

    // ---- Edit
    auto* edit = new QWidget();
    auto* editLayout = new QVBoxLayout(edit);
    // The view's tool, one row (the page keeps the height the tool bar had).
    auto* tools = new QHBoxLayout();
    tools->addWidget(new QLabel("Tool", edit));
    sectorToolButton_ = named(new QRadioButton("Sectors", edit), "sectorToolButton",
                              "Clicks in the view edit the sectors (S)");
    sectorToolButton_->setChecked(true);
    tools->addWidget(sectorToolButton_);
    objectToolButton_ = named(new QRadioButton("Objects", edit), "objectToolButton",
                              "Clicks in the view place, choose and move objects (O)");
    tools->addWidget(objectToolButton_);
    triggerToolButton_ = named(new QRadioButton("Triggers", edit), "triggerToolButton",
                               "Clicks in the view choose sectors for their triggers (T)");
    tools->addWidget(triggerToolButton_);
    tools->addStretch();
    editLayout->addLayout(tools);
    auto* direction = new QGroupBox("Direction", edit);
    auto* directionLayout = new QHBoxLayout(direction);
    backFrontDirectionButton_ = named(new QRadioButton("Back-Front", direction),
                                      "backFrontDirectionButton", "Replicate the rows");
    leftRightDirectionButton_ = named(new QRadioButton("Left-Right", direction),
                                      "leftRightDirectionButton", "Replicate the columns");
    backFrontDirectionButton_->setChecked(true);
    directionLayout->addWidget(backFrontDirectionButton_);
    directionLayout->addWidget(leftRightDirectionButton_);
    editLayout->addWidget(direction);
    auto* replicate = new QHBoxLayout();
    replicationCountField_ =
        namedSpin(edit, "replicationCountField", 1, 1000, 1, "How much to replicatte");
    replicate->addWidget(new QLabel("Replicatte", edit));
    replicate->addWidget(replicationCountField_);
    editLayout->addLayout(replicate);

    auto* shapes = new QGroupBox("Shapes", edit);
    shapes->setToolTip("Select the shape to use");
    auto* shapesLayout = new QGridLayout(shapes);
    shapeButtons_ = new QButtonGroup(this);
    shapeButtons_->setObjectName("shapeButtons");
    shapeButtons_->setExclusive(true);
    for (const ShapeButtonPlace& place : ShapeButtonPlaces) {
        auto* button = new QToolButton(shapes);
        button->setObjectName(QString("shape%1Button").arg(place.shape));
        button->setCheckable(true);
        button->setIcon(shapeIcon(place.shape));
        button->setIconSize(QSize(40, 32));
        button->setToolTip(shapeToolTip(place.shape));
        shapeButtons_->addButton(button, place.shape);
        shapesLayout->addWidget(button, place.row, place.column);
    }
    shapeButton(1)->setChecked(true);
    connect(shapeButtons_, &QButtonGroup::idClicked, this,
            [this](int shape) { selectedShape_ = shape; });
    connect(backFrontDirectionButton_, &QRadioButton::toggled, this, [this](bool on) {
        if (on) {
            shapeMirror_ = 0;
        }
    });
    connect(leftRightDirectionButton_, &QRadioButton::toggled, this, [this](bool on) {
        if (on) {
            shapeMirror_ = TurnedShapeOffset;
        }
    });
    editLayout->addWidget(shapes);

    auto* portals = new QGroupBox("Portals Attrib", edit);
    portals->setToolTip("Select the portals attrib");
    auto* portalsLayout = new QGridLayout(portals);
    roomAboveField_ = namedSpin(portals, "roomAboveField", 0, 128, 0);
    roomSideField_ = namedSpin(portals, "roomSideField", 0, 128, 0);
    roomBelowField_ = namedSpin(portals, "roomBelowField", 0, 128, 0);
    portalsLayout->addWidget(new QLabel("Room Above", portals), 0, 0);
    portalsLayout->addWidget(roomAboveField_, 0, 1);
    portalsLayout->addWidget(new QLabel("Room Side", portals), 1, 0);
    portalsLayout->addWidget(roomSideField_, 1, 1);
    portalsLayout->addWidget(new QLabel("Room Below", portals), 2, 0);
    portalsLayout->addWidget(roomBelowField_, 2, 1);
    editLayout->addWidget(portals);

    auto* put = new QGroupBox("When Click put", edit);
    auto* putLayout = new QHBoxLayout(put);
    putShapesBox_ = named(new QCheckBox("Shapes", put), "putShapesBox", "Only put the shapes data");
    putTexturesBox_ =
        named(new QCheckBox("Textures", put), "putTexturesBox", "Only put textures data");
    putPortalsBox_ =
        named(new QCheckBox("Portals", put), "putPortalsBox", "Only put the portals data");
    for (QCheckBox* box : {putShapesBox_, putTexturesBox_, putPortalsBox_}) {
        box->setChecked(true);
        putLayout->addWidget(box);
    }
    editLayout->addWidget(put);
    editLayout->addStretch();
    pages_->addTab(edit, "Edit");

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
    texturesLayout->addStretch();
    pages_->addTab(textures, "Textures");

    // ---- Portals
    auto* views = new QWidget();
    auto* viewsLayout = new QVBoxLayout(views);
    auto* box = new QGroupBox("Portal Views", views);
    auto* grid = new QGridLayout(box);
    portalRoomField_ =
        namedSpin(box, "portalRoomField", 1, 128, 1, "What room the portal will show");
    portalWidthField_ =
        namedSpin(box, "portalWidthField", 1, 32, 1, "the width in tiles for the portal view");
    portalHeightField_ = namedSpin(box, "portalHeightField", 1, 32, 1,
                                   "The heigh or long in tiles for the portal view");
    portalFacingBox_ =
        named(new QComboBox(box), "portalFacingBox", "Where is facing the portal view");
    portalFacingBox_->addItems({"Front", "Back", "Left", "Right", "Ceiling", "Floor"});
    grid->addWidget(new QLabel("Room #", box), 0, 0);
    grid->addWidget(new QLabel("Width", box), 0, 1);
    grid->addWidget(new QLabel("Height", box), 0, 2);
    grid->addWidget(portalRoomField_, 1, 0);
    grid->addWidget(portalWidthField_, 1, 1);
    grid->addWidget(portalHeightField_, 1, 2);
    grid->addWidget(new QLabel("Type", box), 2, 0);
    grid->addWidget(portalFacingBox_, 2, 1, 1, 2);
    addPortalViewButton_ =
        named(new QPushButton("Add", box), "addPortalViewButton", "Add new portal view");
    replacePortalViewButton_ = named(new QPushButton("Replace", box), "replacePortalViewButton",
                                     "Replace the current portal view");
    deletePortalViewButton_ = named(new QPushButton("Delete", box), "deletePortalViewButton",
                                    "Delete the last portal view");
    grid->addWidget(addPortalViewButton_, 3, 0);
    grid->addWidget(replacePortalViewButton_, 3, 1);
    grid->addWidget(deletePortalViewButton_, 3, 2);
    hidePortalsBox_ = named(new QCheckBox("Hide Portals", box), "hidePortalsBox");
    grid->addWidget(hidePortalsBox_, 4, 0, 1, 3);
    portalViewList_ =
        named(new QListWidget(box), "portalViewList", "Select the current  portal view");
    grid->addWidget(portalViewList_, 5, 0, 1, 3);
    viewsLayout->addWidget(box);
    pages_->addTab(views, "Portals");
    pages_->setCurrentIndex(0);
    resize(280, 560);
    wireControls();
}

void ToolBarWindow::wireControls() {
    // Buttons take the keyboard focus only by Tab: a click on one leaves the keys where they
    // were, so that Space or Enter pressed later over the view never presses it again.
    for (QPushButton* button : findChildren<QPushButton*>()) {
        button->setFocusPolicy(Qt::TabFocus);
    }
    for (QAbstractButton* button : shapeButtons_->buttons()) {
        button->setFocusPolicy(Qt::TabFocus);
    }
    connect(addRoomButton_, &QPushButton::clicked, this,
            [this] { emit roomCommand(RoomCommand::Add); });
    connect(roomPropertiesButton_, &QPushButton::clicked, this,
            [this] { emit roomCommand(RoomCommand::Properties); });
    connect(deleteRoomButton_, &QPushButton::clicked, this,
            [this] { emit roomCommand(RoomCommand::Delete); });
    connect(cloneRoomButton_, &QPushButton::clicked, this,
            [this] { emit roomCommand(RoomCommand::Clone); });
    connect(centerCameraButton_, &QPushButton::clicked, this, &ToolBarWindow::centerCameraClicked);
    connect(sectorToolButton_, &QRadioButton::toggled, this, [this](bool on) {
        if (on) {
            emit toolChosen(ToolKind::Sector);
        }
    });
    connect(objectToolButton_, &QRadioButton::toggled, this, [this](bool on) {
        if (on) {
            emit toolChosen(ToolKind::Object);
        }
    });
    connect(triggerToolButton_, &QRadioButton::toggled, this, [this](bool on) {
        if (on) {
            emit toolChosen(ToolKind::Trigger);
        }
    });

    const std::pair<QRadioButton*, RenderMode> modes[] = {
        {wireframeModeButton_, RenderMode::Wireframe},
        {solidModeButton_, RenderMode::Solid},
        {texturedModeButton_, RenderMode::Textured}};
    for (const auto& [button, mode] : modes) {
        const RenderMode m = mode;
        connect(button, &QRadioButton::toggled, this, [this, m](bool on) {
            if (on) {
                emit renderModeChosen(m);
            }
        });
    }
    // A room is made current by a click on it (also on the current one, which frames it again)
    // or by moving through the list with the keys: the highlighted room is the current one.
    connect(roomList_, &QListWidget::itemClicked, this,
            [this](QListWidgetItem* item) { emit roomChosen(roomList_->row(item)); });
    connect(roomList_, &QListWidget::currentRowChanged, this, [this](int row) {
        const bool byMouse = QApplication::mouseButtons() != Qt::NoButton; // itemClicked follows
        if (!showing_ && !byMouse && row >= 0) {
            emit roomChosen(row);
        }
    });
    connect(roomXField_, &QSpinBox::valueChanged, this, [this](int v) {
        if (!showing_) {
            emit roomMovedX(v);
        }
    });
    connect(roomYField_, &QSpinBox::valueChanged, this, [this](int v) {
        if (!showing_) {
            emit roomMovedY(v);
        }
    });
    connect(roomZField_, &QSpinBox::valueChanged, this, [this](int v) {
        if (!showing_) {
            emit roomMovedZ(v);
        }
    });
    connect(neighbourRoomField_, &QSpinBox::valueChanged, this, [this] {
        if (!currentRoomOnlyBox_->isChecked()) {
            emit drawnNeighbourChanged();
        }
    });
    connect(currentRoomOnlyBox_, &QCheckBox::toggled, this, &ToolBarWindow::drawnNeighbourChanged);

    // "Room Side" is kept apart from "Room Above" and "Room Below".
    connect(roomAboveField_, &QSpinBox::valueChanged, this, [this](int v) {
        if (v > 0) {
            roomSideField_->setValue(0);
        }
    });
    connect(roomSideField_, &QSpinBox::valueChanged, this, [this](int v) {
        if (v > 0) {
            roomAboveField_->setValue(0);
            roomBelowField_->setValue(0);
        }
    });
    connect(roomBelowField_, &QSpinBox::valueChanged, this, [this](int v) {
        if (v > 0) {
            roomSideField_->setValue(0);
        }
    });

    for (int field = 0; field < 4; ++field) {
        connect(textureFields_[field], &QSpinBox::valueChanged, this,
                [this, field] { emit textureNumberChanged(field); });
    }

    connect(addPortalViewButton_, &QPushButton::clicked, this,
            &ToolBarWindow::addPortalViewClicked);
    connect(replacePortalViewButton_, &QPushButton::clicked, this,
            &ToolBarWindow::replacePortalViewClicked);
    connect(deletePortalViewButton_, &QPushButton::clicked, this,
            &ToolBarWindow::deletePortalViewClicked);
    connect(hidePortalsBox_, &QCheckBox::toggled, this, &ToolBarWindow::hidePortalsToggled);
    connect(portalViewList_, &QListWidget::itemClicked, this, [this](QListWidgetItem* item) {
        emit portalViewChosen(portalViewList_->row(item) + 1);
    });
}

ToolBarState ToolBarWindow::state() const {
    ToolBarState state;
    SectorToolState& tools = state.Sector;
    tools.SelectedShape = selectedShape_;
    tools.ShapeMirror = shapeMirror_;
    tools.ReplicationCount = replicationCountField_->value();
    tools.PutShapes = putShapesBox_->isChecked();
    tools.PutTextures = putTexturesBox_->isChecked();
    tools.PutPortals = putPortalsBox_->isChecked();
    tools.FloorTexture = textureFields_[0]->value();
    tools.FloorWalls = textureFields_[1]->value();
    tools.CeilingTexture = textureFields_[2]->value();
    tools.CeilingWalls = textureFields_[3]->value();
    tools.SetRoomAbove(roomAboveField_->value());
    tools.SetRoomSide(roomSideField_->value());
    tools.SetRoomBelow(roomBelowField_->value());
    state.Mode = solidModeButton_->isChecked()      ? RenderMode::Solid
                 : texturedModeButton_->isChecked() ? RenderMode::Textured
                                                    : RenderMode::Wireframe;
    state.NeighbourRoom = neighbourRoomField_->value();
    state.CurrentRoomOnly = currentRoomOnlyBox_->isChecked();
    state.HidePortals = hidePortalsBox_->isChecked();
    state.PortalView = {portalRoomField_->value(), portalWidthField_->value(),
                        portalHeightField_->value(), portalFacingBox_->currentIndex()};
    state.SelectedPortalView = portalViewList_->currentRow() + 1;
    return state;
}

void ToolBarWindow::showDocument(const ToolBarView& view) {
    showing_ = true;
    roomList_->clear();
    for (const std::string& name : view.RoomList) {
        roomList_->addItem(fromDocumentText(name));
    }
    roomList_->setCurrentRow(view.SelectedRoom);
    roomXField_->setValue(view.PosX);
    roomYField_->setValue(view.PosY);
    roomZField_->setValue(view.PosZ);
    showPortalList({view.PortalViewList, view.SelectedPortalView});
    portalRoomField_->setValue(view.PortalRoom);
    portalWidthField_->setValue(view.PortalWidth);
    portalHeightField_->setValue(view.PortalHeight);
    if (view.PortalFacingIndex) {
        portalFacingBox_->setCurrentIndex(std::clamp(*view.PortalFacingIndex, 0, 5));
    }
    showing_ = false;
}

void ToolBarWindow::showPortalList(const PortalListView& list) {
    portalViewList_->clear();
    for (const std::string& entry : list.Entries) {
        portalViewList_->addItem(QString::fromStdString(entry));
    }
    portalViewList_->setCurrentRow(list.Selected);
}

void ToolBarWindow::showPortalViewFields(const PortalViewFields& fields) {
    portalRoomField_->setValue(fields.Room);
    portalWidthField_->setValue(fields.Width);
    portalHeightField_->setValue(fields.Height);
    portalFacingBox_->setCurrentIndex(std::clamp(fields.FacingIndex, 0, 5));
}

void ToolBarWindow::setNeighbourRoom(int room) {
    neighbourRoomField_->setValue(room);
}

void ToolBarWindow::setRenderMode(RenderMode mode) {
    QRadioButton* button = mode == RenderMode::Solid      ? solidModeButton_
                           : mode == RenderMode::Textured ? texturedModeButton_
                                                          : wireframeModeButton_;
    button->setChecked(true);
}

void ToolBarWindow::setActiveTool(ToolKind tool) {
    sectorToolButton_->setChecked(tool == ToolKind::Sector);
    objectToolButton_->setChecked(tool == ToolKind::Object);
    triggerToolButton_->setChecked(tool == ToolKind::Trigger);
}

void ToolBarWindow::showSectorSettings(const SectorToolState& settings) {
    textureFields_[0]->setValue(settings.FloorTexture);
    textureFields_[1]->setValue(settings.FloorWalls);
    textureFields_[2]->setValue(settings.CeilingTexture);
    textureFields_[3]->setValue(settings.CeilingWalls);
    roomAboveField_->setValue(settings.RoomAbove());
    roomSideField_->setValue(settings.RoomSide());
    roomBelowField_->setValue(settings.RoomBelow());
}

int ToolBarWindow::textureNumber(int field) const {
    return textureFields_[field]->value();
}

void ToolBarWindow::setTextureNumber(int field, int number) {
    textureFields_[field]->setValue(number);
}

void ToolBarWindow::setTextureNumberQuietly(int field, int number) {
    const QSignalBlocker quiet(textureFields_[field]);
    textureFields_[field]->setValue(number);
}

void ToolBarWindow::setTexturePreview(int field, const QPixmap& preview) {
    texturePreviews_[field]->setPixmap(preview);
}

QToolButton* ToolBarWindow::shapeButton(int shape) const {
    return static_cast<QToolButton*>(shapeButtons_->button(shape));
}

} // namespace morvane
