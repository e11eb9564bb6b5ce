#include "view/sector_highlight.h"

#include "document/sector_numbering.h"
#include "document/shape_table.h"

#include <GL/gl.h>

#include <algorithm>

namespace morvane {

namespace {

constexpr double Lift = 0.02; // above the floor, so that the cover does not flicker with it

} // namespace

void SectorHighlight::Draw() {
    if (Project == nullptr || Selection == nullptr || Selection->Empty() ||
        Selection->Room() != DrawnRoom || DrawnRoom < 1 || DrawnRoom > Project->RoomCount ||
        DrawnRoom > MaxRooms) {
        return;
    }
    const TEditorRoom& room = Project->Room(DrawnRoom);
    if (room.SectorCount() > MaxSectors) {
        return;
    }
    glPushAttrib(GL_ENABLE_BIT | GL_POLYGON_BIT | GL_COLOR_BUFFER_BIT | GL_CURRENT_BIT |
                 GL_LINE_BIT);
    glDisable(GL_TEXTURE_2D);
    glDisable(GL_DEPTH_TEST);
    glDisable(GL_CULL_FACE);
    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    glColorMask(GL_TRUE, GL_TRUE, GL_TRUE, GL_FALSE); // the frame stays opaque
    glPolygonMode(GL_FRONT_AND_BACK, GL_FILL);
    glLineWidth(2);
    for (const int n : Selection->Sectors()) {
        if (n > room.SectorCount()) {
            break;
        }
        const int x = SectorColumn(n, room.ZSectors), z = SectorRow(n, room.ZSectors);
        const int shape = std::min<int>(room.Sector(n).FloorShape, HighestShape);
        const double y = room.PosY + uint8_t(room.GameSector(n).FloorHeight) +
                         ShapeTable[shape].Rise / 4.0 + Lift;
        const double x0 = room.PosX + x - 1, z0 = -(room.PosZ + z - 1);
        const double corners[4][3] = {
            {x0, y, z0}, {x0 + 1, y, z0}, {x0 + 1, y, z0 - 1}, {x0, y, z0 - 1}};
        glColor4f(1.0f, 0.8f, 0.0f, 0.35f);
        glBegin(GL_QUADS);
        for (const auto& c : corners) {
            glVertex3d(c[0], c[1], c[2]);
        }
        glEnd();
        glColor4f(1.0f, 0.9f, 0.2f, 1.0f);
        glBegin(GL_LINE_LOOP);
        for (const auto& c : corners) {
            glVertex3d(c[0], c[1], c[2]);
        }
        glEnd();
    }
    glPopAttrib();
}

} // namespace morvane
