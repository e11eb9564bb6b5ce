#include "view/trigger_links.h"

#include "document/object_operations.h"
#include "document/shape_table.h"
#include "view/object_placement.h"

#include <GL/gl.h>

#include <algorithm>

namespace morvane {

void TriggerLinks::Draw() {
    if (Project == nullptr || Room < 1 || Room > Project->RoomCount || Room > MaxRooms ||
        Objects.empty()) {
        return;
    }
    const TEditorRoom& room = Project->Room(Room);
    if (Column < 1 || Column > room.XSectors || Row < 1 || Row > room.ZSectors) {
        return;
    }
    const int n = (Column - 1) * room.ZSectors + Row;
    const int shape = std::min<int>(room.Sector(n).FloorShape, HighestShape);
    // From the middle of the sector's floor, a little above it.
    const double fromX = room.PosX + Column - 0.5, fromZ = -(room.PosZ + Row - 0.5);
    const double fromY =
        room.PosY + uint8_t(room.GameSector(n).FloorHeight) + ShapeTable[shape].Rise / 4.0 + 0.05;
    glPushAttrib(GL_ENABLE_BIT | GL_CURRENT_BIT | GL_LINE_BIT | GL_POINT_BIT);
    glDisable(GL_TEXTURE_2D);
    glDisable(GL_DEPTH_TEST);
    glDisable(GL_LIGHTING);
    glLineWidth(2);
    glPointSize(7);
    glColor3f(1.0f, 0.35f, 0.85f);
    for (const int index : Objects) {
        if (!HasObject(*Project, index)) {
            continue;
        }
        const auto to = ObjectScenePoint(*Project, Project->Objects.Objects[index]);
        glBegin(GL_LINES);
        glVertex3d(fromX, fromY, fromZ);
        glVertex3d(to[0], to[1], to[2]);
        glEnd();
        glBegin(GL_POINTS);
        glVertex3d(to[0], to[1], to[2]);
        glEnd();
    }
    glPopAttrib();
}

} // namespace morvane
