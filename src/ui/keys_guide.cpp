#include "ui/keys_guide.h"

#include "ui/named_controls.h"
#include "ui/program_version.h"

#include <QFontDatabase>
#include <QHBoxLayout>
#include <QPlainTextEdit>
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
    {"MOUSE WHEEL", "Zoom In/Out toward the pointer."},
    {"DRAG", "Put the Floor Shape on a rectangle of sectors."},
    {"CTRL+DRAG", "Put Ceiling Shape on a rectangle of sectors."},
    {"SHIFT+DRAG", "Add a rectangle (shapes inverted)."},
    {"SPACEBAR", "Get the Textures and portals of the sector."},
    {"POINTER OVER A SECTOR", "Its heights and links in the status bar."},
    {"S", "The Sector tool: the clicks above edit sectors."},
    {"O", "The Object tool: click chooses an object, drag moves it."},
    {"CLICK (Object tool, Place down)", "Place the Objects dock's type."},
    {"CTRL+DRAG (Object tool)", "Move the object to sector centres."},
    {"LEFT/RIGHT, WHEEL (Object tool)", "Turn the object by 45 (Shift: 90)."},
    {"DEL, CTRL+C, CTRL+V (Object tool)", "Delete, copy, paste the object."},
    {"T", "The Trigger tool: click or drag chooses sectors."},
    {"DEL, CTRL+C, CTRL+V (Trigger tool)", "Delete, copy, paste the trigger."},
    {"CTRL+N", "New project."},
    {"CTRL+O, F3", "Open a project."},
    {"CTRL+S", "Save the project."},
    {"CTRL+SHIFT+S", "Save the project under another name."},
    {"CTRL+B", "Open a Base level."},
    {"F5, F10", "Build the level."},
    {"F9", "Build the level and play it (File > Play Command)."},
    {"CTRL+Q", "Exit."},
    {"CTRL+Z", "Undo."},
    {"CTRL+Y, CTRL+SHIFT+Z", "Redo."},
    {"SHIFT+INS", "Add a room."},
    {"CTRL+INS", "Edit the room's properties."},
    {"CTRL+DEL", "Delete the last room."},
    {"CTRL+C", "Clone the current room."},
    {"CTRL+T", "Show the Textures."},
    {"F1", "This Keys Guide."},
};

} // namespace

QString keysGuideText() {
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

KeysGuideDialog::KeysGuideDialog(QWidget* parent) : QDialog(parent) {
    setObjectName("keysGuideDialog");
    setWindowTitle("Keys Guide");
    auto* layout = new QVBoxLayout(this);
    auto* guide = named(new QPlainTextEdit(this), "guideText");
    guide->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    guide->setPlainText(keysGuideText());
    guide->setMinimumSize(680, 420);
    layout->addWidget(guide);
    auto* ok = closingButton(this, "OK", "okButton", DialogAnswer::Accept);
    ok->setDefault(true);
    auto* buttons = new QHBoxLayout();
    buttons->addStretch();
    buttons->addWidget(ok);
    layout->addLayout(buttons);
    // Edits to the guide are not kept: it is filled again each time it is shown.
    connect(this, &QDialog::finished, guide, [guide] { guide->setPlainText(keysGuideText()); });
}

} // namespace morvane
