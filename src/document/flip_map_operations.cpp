#include "document/flip_map_operations.h"

#include "document/room_operations.h"

#include <algorithm>

namespace morvane {

namespace {

int RoomsInUse(const TEditorProject& project) {
    return std::min<int>(project.RoomCount, MaxRooms);
}

std::string RoomText(int room) {
    return "room " + std::to_string(room);
}

} // namespace

int AlternateOf(const TEditorProject& project, int room) {
    if (room < 1 || room > MaxRooms) {
        return 0;
    }
    return project.FlipMaps.Alternate[room - 1];
}

int OriginalOf(const TEditorProject& project, int room) {
    if (room < 1 || room > MaxRooms) {
        return 0;
    }
    for (int r = 1; r <= MaxRooms; ++r) {
        if (project.FlipMaps.Alternate[r - 1] == room) {
            return r;
        }
    }
    return 0;
}

int AlternateRoomCount(const TEditorProject& project) {
    return static_cast<int>(FlipLinks(project).size());
}

int ShownRoom(const TEditorProject& project, int room, bool flipped) {
    const int alternate = flipped ? AlternateOf(project, room) : 0;
    return alternate != 0 ? alternate : room;
}

int RoomAfterFlip(const TEditorProject& project, int room, bool flipped) {
    if (flipped) {
        return ShownRoom(project, room, true);
    }
    const int original = OriginalOf(project, room);
    return original != 0 ? original : room;
}

std::vector<FlipLink> FlipLinks(const TEditorProject& project) {
    std::vector<FlipLink> links;
    for (int r = 1; r <= MaxRooms; ++r) {
        if (const int alternate = project.FlipMaps.Alternate[r - 1]; alternate != 0) {
            links.push_back({r, alternate});
        }
    }
    return links;
}

std::string FlipMapsProblem(const TFlipMaps& maps, int roomCount) {
    int originalOf[MaxRooms + 1] = {};
    for (int r = 1; r <= MaxRooms; ++r) {
        const int alternate = maps.Alternate[r - 1];
        if (alternate == 0) {
            continue;
        }
        if (r > roomCount) {
            return RoomText(r) + " has an alternate, but the project has " +
                   std::to_string(roomCount) + " rooms";
        }
        if (alternate > roomCount) {
            return RoomText(r) + " has alternate " + std::to_string(alternate) +
                   ", a room the project does not have (it has " + std::to_string(roomCount) + ")";
        }
        if (alternate == r) {
            return RoomText(r) + " is its own alternate";
        }
        if (originalOf[alternate] != 0) {
            return RoomText(alternate) + " is the alternate of both " +
                   RoomText(originalOf[alternate]) + " and " + RoomText(r);
        }
        originalOf[alternate] = r;
    }
    for (int r = 1; r <= MaxRooms; ++r) {
        if (originalOf[r] != 0 && maps.Alternate[r - 1] != 0) {
            return RoomText(r) + " is the alternate of " + RoomText(originalOf[r]) +
                   " and has an alternate of its own (" + RoomText(maps.Alternate[r - 1]) + ")";
        }
    }
    return {};
}

std::string FlipMapsOfLinks(const std::vector<FlipLink>& links, int rooms, TFlipMaps& maps) {
    maps = TFlipMaps{};
    for (const FlipLink& link : links) {
        if (link.Room < 1 || link.Room > rooms) {
            return RoomText(link.Room) + " does not exist (the project has " +
                   std::to_string(rooms) + ")";
        }
        if (link.Alternate < 1 || link.Alternate > rooms) {
            return RoomText(link.Room) + " has alternate " + std::to_string(link.Alternate) +
                   ", a room the project does not have (it has " + std::to_string(rooms) + ")";
        }
        if (maps.Alternate[link.Room - 1] != 0) {
            return RoomText(link.Room) + " is given two alternates";
        }
        maps.Alternate[link.Room - 1] = static_cast<uint8_t>(link.Alternate);
    }
    return FlipMapsProblem(maps, rooms);
}

std::string ReplaceFlipMaps(TEditorProject& project, const std::vector<FlipLink>& links) {
    TFlipMaps maps;
    std::string problem = FlipMapsOfLinks(links, RoomsInUse(project), maps);
    if (problem.empty()) {
        project.FlipMaps = maps;
    }
    return problem;
}

DocumentOutcome MakeAlternateRoom(TEditorProject& project, SceneRooms& scene) {
    if (!project.HasCurrentRoom()) {
        return {};
    }
    const int room = project.CurrentRoom;
    if (const int alternate = AlternateOf(project, room); alternate != 0) {
        return DocumentOutcome::Refusal("Room " + std::to_string(room) +
                                        " already has an alternate room (room " +
                                        std::to_string(alternate) + "). No room was added.");
    }
    if (const int original = OriginalOf(project, room); original != 0) {
        return DocumentOutcome::Refusal("Room " + std::to_string(room) +
                                        " is the alternate room of room " +
                                        std::to_string(original) +
                                        "; an alternate room has none of its own. No room was "
                                        "added.");
    }
    DocumentOutcome cloned = CloneRoom(project);
    if (cloned.Refused) {
        return cloned;
    }
    // The alternate stands where its original stands: the game shows one in the other's place.
    const TEditorRoom& original = project.Room(room);
    TEditorRoom& alternate = project.Room(project.RoomCount);
    alternate.PosX = original.PosX;
    alternate.PosZ = original.PosZ;
    project.FlipMaps.Alternate[room - 1] = project.RoomCount;
    return SelectRoom(project, scene, project.RoomCount - 1);
}

bool DropFlipMapsOfMissingRooms(TEditorProject& project) {
    const int rooms = RoomsInUse(project);
    bool dropped = false;
    for (int r = 1; r <= MaxRooms; ++r) {
        uint8_t& alternate = project.FlipMaps.Alternate[r - 1];
        if (alternate != 0 && (r > rooms || alternate > rooms)) {
            alternate = 0;
            dropped = true;
        }
    }
    return dropped;
}

} // namespace morvane
