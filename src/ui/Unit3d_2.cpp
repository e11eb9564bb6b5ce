#include "ui/Unit3d_2.h"

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
    const char* Name;
    int Shape;
    int Row, Column;
};
constexpr ShapeButtonPlace ShapeButtons[] = {
    {"SpeedButton5", 1, 0, 0},  {"SpeedButton6", 2, 0, 1},  {"SpeedButton7", 3, 0, 2},
    {"SpeedButton8", 4, 0, 3},  {"SpeedButton9", 8, 1, 0},  {"SpeedButton13", 7, 1, 1},
    {"SpeedButton14", 6, 1, 2}, {"SpeedButton15", 5, 1, 3}, {"SpeedButton16", 10, 2, 0},
    {"SpeedButton17", 9, 2, 1}, {"SpeedButton18", 0, 2, 2},
};

// A small block with the shape on top, seen from the front and a little from above.
QIcon ShapeIcon(int shape) {
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

QLabel* Preview(QWidget* parent, const char* name) {
    auto* image = new QLabel(parent);
    image->setObjectName(name);
    image->setFixedSize(73, 66);
    image->setScaledContents(true);
    image->setFrameShape(QFrame::StyledPanel);
    return image;
}

} // namespace

TForm2::TForm2(QWidget* parent) : QWidget(parent, Qt::Tool | Qt::WindowStaysOnTopHint) {
    setObjectName("TForm2");
    setWindowTitle("Tools Bar");
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(4, 4, 4, 4);
    PageControl1 = new QTabWidget(this);
    PageControl1->setObjectName("PageControl1");
    layout->addWidget(PageControl1);

    // ---- Rooms
    auto* rooms = new QWidget();
    auto* roomsLayout = new QVBoxLayout(rooms);
    auto* manager = new QGroupBox("Room Manager", rooms);
    auto* managerLayout = new QGridLayout(manager);
    SpeedButton19 = Named(new QPushButton("Add", manager), "SpeedButton19", "Add new room");
    SpeedButton20 =
        Named(new QPushButton("Properties", manager), "SpeedButton20", "Edit room properties");
    SpeedButton21 =
        Named(new QPushButton("Delete", manager), "SpeedButton21", "Delete the last room");
    SpeedButton22 =
        Named(new QPushButton("Clone", manager), "SpeedButton22", "Clone the current room");
    managerLayout->addWidget(SpeedButton19, 0, 0);
    managerLayout->addWidget(SpeedButton20, 0, 1);
    managerLayout->addWidget(SpeedButton21, 1, 0);
    managerLayout->addWidget(SpeedButton22, 1, 1);
    roomsLayout->addWidget(manager);

    auto* render = new QGroupBox("Render Mode", rooms);
    render->setToolTip("Select the render mode");
    auto* renderLayout = new QHBoxLayout(render);
    RadioButton3 = Named(new QRadioButton("Wireframe", render), "RadioButton3");
    RadioButton4 = Named(new QRadioButton("Solid", render), "RadioButton4");
    RadioButton5 = Named(new QRadioButton("Textured", render), "RadioButton5");
    RadioButton3->setChecked(true);
    renderLayout->addWidget(RadioButton3);
    renderLayout->addWidget(RadioButton4);
    renderLayout->addWidget(RadioButton5);
    roomsLayout->addWidget(render);

    auto* available = new QGroupBox("Rooms Availibles", rooms);
    auto* availableLayout = new QVBoxLayout(available);
    ListBox2 = Named(new QListWidget(available), "ListBox2", "Make a room current");
    availableLayout->addWidget(ListBox2);
    roomsLayout->addWidget(available, 1);

    auto* position = new QGridLayout();
    SpinEdit5 = NamedSpin(rooms, "SpinEdit5", 0, 200, 0, "X position for the room");
    SpinEdit6 = NamedSpin(rooms, "SpinEdit6", 1, 64, 1, "Y position for the room");
    SpinEdit7 = NamedSpin(rooms, "SpinEdit7", 0, 200, 0, "Z position for the room");
    position->addWidget(new QLabel("XPos", rooms), 0, 0);
    position->addWidget(new QLabel("YPos", rooms), 0, 1);
    position->addWidget(new QLabel("ZPos", rooms), 0, 2);
    position->addWidget(SpinEdit5, 1, 0);
    position->addWidget(SpinEdit6, 1, 1);
    position->addWidget(SpinEdit7, 1, 2);
    roomsLayout->addLayout(position);

    auto* neighbour = new QHBoxLayout();
    SpinEdit11 = NamedSpin(rooms, "SpinEdit11", 0, 128, 0, "Select the neigboring room.");
    CheckBox1 =
        Named(new QCheckBox("Current Only", rooms), "CheckBox1", "Render only the current room");
    neighbour->addWidget(new QLabel("Neighbor", rooms));
    neighbour->addWidget(SpinEdit11);
    neighbour->addWidget(CheckBox1);
    roomsLayout->addLayout(neighbour);
    Button4 = Named(new QPushButton("Center Camera", rooms), "Button4",
                    "Center the camera at the current room");
    roomsLayout->addWidget(Button4);
    PageControl1->addTab(rooms, "Rooms");

    // ---- Edit
    auto* edit = new QWidget();
    auto* editLayout = new QVBoxLayout(edit);
    auto* direction = new QGroupBox("Direction", edit);
    auto* directionLayout = new QHBoxLayout(direction);
    RadioButton1 =
        Named(new QRadioButton("Back-Front", direction), "RadioButton1", "Replicate the rows");
    RadioButton2 =
        Named(new QRadioButton("Left-Right", direction), "RadioButton2", "Replicate the columns");
    RadioButton1->setChecked(true);
    directionLayout->addWidget(RadioButton1);
    directionLayout->addWidget(RadioButton2);
    editLayout->addWidget(direction);
    auto* replicate = new QHBoxLayout();
    SpinEdit12 = NamedSpin(edit, "SpinEdit12", 1, 1000, 1, "How much to replicatte");
    replicate->addWidget(new QLabel("Replicatte", edit));
    replicate->addWidget(SpinEdit12);
    editLayout->addLayout(replicate);

    auto* shapes = new QGroupBox("Shapes", edit);
    shapes->setToolTip("Select the shape to use");
    auto* shapesLayout = new QGridLayout(shapes);
    Shapes = new QButtonGroup(this);
    Shapes->setExclusive(true);
    for (const ShapeButtonPlace& place : ShapeButtons) {
        auto* button = new QToolButton(shapes);
        button->setObjectName(place.Name);
        button->setCheckable(true);
        button->setIcon(ShapeIcon(place.Shape));
        button->setIconSize(QSize(40, 32));
        button->setToolTip(QString("Shape %1").arg(place.Shape));
        Shapes->addButton(button, place.Shape);
        shapesLayout->addWidget(button, place.Row, place.Column);
    }
    ShapeButton(1)->setChecked(true);
    connect(Shapes, &QButtonGroup::idClicked, this, [this](int shape) { SelectedShape = shape; });
    connect(RadioButton1, &QRadioButton::toggled, this, [this](bool on) {
        if (on) {
            ShapeMirror = 0;
        }
    });
    connect(RadioButton2, &QRadioButton::toggled, this, [this](bool on) {
        if (on) {
            ShapeMirror = TurnedShapeOffset;
        }
    });
    editLayout->addWidget(shapes);

    auto* portals = new QGroupBox("Portals Attrib", edit);
    portals->setToolTip("Select the portals attrib");
    auto* portalsLayout = new QGridLayout(portals);
    SpinEdit13 = NamedSpin(portals, "SpinEdit13", 0, 128, 0);
    SpinEdit14 = NamedSpin(portals, "SpinEdit14", 0, 128, 0);
    SpinEdit15 = NamedSpin(portals, "SpinEdit15", 0, 128, 0);
    portalsLayout->addWidget(new QLabel("Room Above", portals), 0, 0);
    portalsLayout->addWidget(SpinEdit13, 0, 1);
    portalsLayout->addWidget(new QLabel("Room Side", portals), 1, 0);
    portalsLayout->addWidget(SpinEdit14, 1, 1);
    portalsLayout->addWidget(new QLabel("Room Below", portals), 2, 0);
    portalsLayout->addWidget(SpinEdit15, 2, 1);
    editLayout->addWidget(portals);

    auto* put = new QGroupBox("When Click put", edit);
    auto* putLayout = new QHBoxLayout(put);
    CheckBox2 = Named(new QCheckBox("Shapes", put), "CheckBox2", "Only put the shapes data");
    CheckBox3 = Named(new QCheckBox("Textures", put), "CheckBox3", "Only put textures data");
    CheckBox4 = Named(new QCheckBox("Portals", put), "CheckBox4", "Only put the portals data");
    for (QCheckBox* box : {CheckBox2, CheckBox3, CheckBox4}) {
        box->setChecked(true);
        putLayout->addWidget(box);
    }
    editLayout->addWidget(put);
    editLayout->addStretch();
    PageControl1->addTab(edit, "Edit");

    // ---- Textures
    auto* textures = new QWidget();
    auto* texturesLayout = new QVBoxLayout(textures);
    auto texturePair = [&](const char* title, const char* hint, const char* first,
                           const char* firstName, const char* imageName1, const char* secondName,
                           const char* imageName2, QSpinBox*& spinA, QLabel*& imageA,
                           QSpinBox*& spinB, QLabel*& imageB) {
        auto* box = new QGroupBox(title, textures);
        box->setToolTip(hint);
        auto* grid = new QGridLayout(box);
        spinA = NamedSpin(box, firstName, 0, 3500, 1);
        spinB = NamedSpin(box, secondName, 0, 3500, 1);
        imageA = Preview(box, imageName1);
        imageB = Preview(box, imageName2);
        grid->addWidget(new QLabel(first, box), 0, 0);
        grid->addWidget(new QLabel("Walls", box), 0, 1);
        grid->addWidget(spinA, 1, 0);
        grid->addWidget(spinB, 1, 1);
        grid->addWidget(imageA, 2, 0);
        grid->addWidget(imageB, 2, 1);
        texturesLayout->addWidget(box);
    };
    texturePair("Floors", "The textures for the floor", "Floor", "SpinEdit1", "Image1", "SpinEdit2",
                "Image2", SpinEdit1, Image1, SpinEdit2, Image2);
    texturePair("Ceilings", "The texture for the ceiling", "Ceiling", "SpinEdit3", "Image3",
                "SpinEdit4", "Image4", SpinEdit3, Image3, SpinEdit4, Image4);
    texturesLayout->addStretch();
    PageControl1->addTab(textures, "Textures");

    // ---- Portals
    auto* views = new QWidget();
    auto* viewsLayout = new QVBoxLayout(views);
    auto* box = new QGroupBox("Portal Views", views);
    auto* grid = new QGridLayout(box);
    SpinEdit9 = NamedSpin(box, "SpinEdit9", 1, 128, 1, "What room the portal will show");
    SpinEdit8 = NamedSpin(box, "SpinEdit8", 1, 32, 1, "the width in tiles for the portal view");
    SpinEdit10 =
        NamedSpin(box, "SpinEdit10", 1, 32, 1, "The heigh or long in tiles for the portal view");
    ComboBox1 = Named(new QComboBox(box), "ComboBox1", "Where is facing the portal view");
    ComboBox1->addItems({"Front", "Back", "Left", "Right", "Ceiling", "Floor"});
    grid->addWidget(new QLabel("Room #", box), 0, 0);
    grid->addWidget(new QLabel("Width", box), 0, 1);
    grid->addWidget(new QLabel("Height", box), 0, 2);
    grid->addWidget(SpinEdit9, 1, 0);
    grid->addWidget(SpinEdit8, 1, 1);
    grid->addWidget(SpinEdit10, 1, 2);
    grid->addWidget(new QLabel("Type", box), 2, 0);
    grid->addWidget(ComboBox1, 2, 1, 1, 2);
    Button1 = Named(new QPushButton("Add", box), "Button1", "Add new portal view");
    Button2 = Named(new QPushButton("Replace", box), "Button2", "Replace the current portal view");
    Button3 = Named(new QPushButton("Delete", box), "Button3", "Delete the last portal view");
    grid->addWidget(Button1, 3, 0);
    grid->addWidget(Button2, 3, 1);
    grid->addWidget(Button3, 3, 2);
    CheckBox5 = Named(new QCheckBox("Hide Portals", box), "CheckBox5");
    grid->addWidget(CheckBox5, 4, 0, 1, 3);
    ListBox1 = Named(new QListWidget(box), "ListBox1", "Select the current  portal view");
    grid->addWidget(ListBox1, 5, 0, 1, 3);
    viewsLayout->addWidget(box);
    PageControl1->addTab(views, "Portals");
    PageControl1->setCurrentIndex(0);
    resize(280, 560);
}

QToolButton* TForm2::ShapeButton(int shape) const {
    return static_cast<QToolButton*>(Shapes->button(shape));
}

} // namespace morvane
