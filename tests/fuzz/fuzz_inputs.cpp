#include "fuzz/fuzz_inputs.h"

#include "support/random_objects.h"

#include "document/flip_map_operations.h"
#include "document/portal_views.h"
#include "document/project_file.h"
#include "document/room_operations.h"
#include "document/sector_tools.h"
#include "io/binary_writer.h"
#include "level/level_format.h"
#include "level/level_writer.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <stdexcept>

namespace morvane::fuzz {

namespace {

int Below(Random& random, int n) {
    return n <= 0 ? 0 : static_cast<int>(random() % static_cast<uint64_t>(n));
}

// Records each write of the level writer as one field: with an unbuffered stream every
// BinaryWriter call reaches the recorder whole.
struct WriteRecorder {
    Sample* Into;
    static ssize_t Write(void* cookie, const char* data, std::size_t size) {
        Sample& sample = *static_cast<WriteRecorder*>(cookie)->Into;
        // The writer's numbers are its counts and record fields; arrays come as blocks.
        sample.Fields.push_back({sample.File.size(), size, size == 2 || size == 4});
        sample.File.insert(sample.File.end(), data, data + size);
        return static_cast<ssize_t>(size);
    }
};

// A byte builder that notes each value and block it appends as a field.
class FieldBuilder {
public:
    template <class T> FieldBuilder& Value(T value) { return Block(&value, sizeof(T)); }
    // A count or another key number (see Field).
    template <class T> FieldBuilder& Key(T value) { return Block(&value, sizeof(T), true); }
    FieldBuilder& Block(const void* data, std::size_t size, bool key = false) {
        if (size > 0) {
            sample_.Fields.push_back({sample_.File.size(), size, key});
            const auto* bytes = static_cast<const uint8_t*>(data);
            sample_.File.insert(sample_.File.end(), bytes, bytes + size);
        }
        return *this;
    }
    FieldBuilder& Text(const char* text, std::size_t size) { return Block(text, size); }
    Sample Take(const std::string& name) {
        sample_.Name = name;
        return std::move(sample_);
    }

private:
    Sample sample_;
};

// Fields of the project file, walked over the documented layout of a version-5 file.
class ProjectLayout {
public:
    explicit ProjectLayout(std::vector<Field>& fields) : fields_(fields) {}
    void Take(std::size_t width, int count = 1, bool key = false) {
        for (int i = 0; i < count; ++i) {
            fields_.push_back({at_, width, key});
            at_ += width;
        }
    }
    std::size_t Size() const { return at_; }

private:
    std::vector<Field>& fields_;
    std::size_t at_ = 0;
};

} // namespace

Sample LevelSample(TLevelData& level, int32_t kind, const std::string& name) {
    Sample sample;
    sample.Name = name;
    WriteRecorder recorder{&sample};
    cookie_io_functions_t functions{nullptr, &WriteRecorder::Write, nullptr, nullptr};
    std::FILE* file = fopencookie(&recorder, "wb", functions);
    if (file == nullptr) {
        throw std::runtime_error("fopencookie failed");
    }
    std::setvbuf(file, nullptr, _IONBF, 0);
    {
        BinaryWriter out(file);
        WriteLevel(level, out, kind);
    }
    std::fclose(file);
    return sample;
}

Sample ProjectSample(const TEditorProject& project, const std::string& name) {
    test::TempDir dir;
    WriteProjectFile(project, dir.Path("p.mvn"));
    Sample sample;
    sample.Name = name;
    sample.File = test::ReadFileBytes(dir.Path("p.mvn"));
    ProjectLayout layout(sample.Fields);
    layout.Take(17); // magic
    layout.Take(1);  // version
    layout.Take(101);
    layout.Take(251);
    layout.Take(101, 5);
    layout.Take(1, 2, true); // current room, room count
    for (int r = 1; r <= project.RoomCount; ++r) {
        const TEditorRoom& room = project.Room(r);
        layout.Take(4, 2, true); // position
        layout.Take(41);         // name
        layout.Take(1, 2, true); // level, height
        layout.Take(2, 10);      // default textures
        layout.Take(1);
        layout.Take(4);
        layout.Take(1, 4);       // flags
        layout.Take(2);          // reserved
        layout.Take(2, 2, true); // grid
        for (int n = 0; n < room.SectorCount(); ++n) {
            layout.Take(2, 2);
            layout.Take(1, 4);
        }
        for (int n = 0; n < room.SectorCount(); ++n) {
            layout.Take(1, 2); // shapes
            layout.Take(2);
            for (int side = 0; side < 2; ++side) {
                layout.Take(4, 5); // textures
                layout.Take(1, 5); // lights
            }
            layout.Take(4, 2); // reserved, portal kind
            layout.Take(40);
        }
        layout.Take(4, 1, true); // portal view count
        for (int d = 0; d < room.PortalViewCount; ++d) {
            layout.Take(1, 2, true); // facing, reserved
            layout.Take(2, 1, true); // target room
            layout.Take(4, 4, true); // size, origin
        }
        layout.Take(40);
    }
    layout.Take(40);
    if (project.Objects.Count > 0) {
        layout.Take(4);          // tag
        layout.Take(2, 1, true); // version
        layout.Take(4, 2, true); // length, count
        for (uint32_t i = 0; i < project.Objects.Count; ++i) {
            layout.Take(1, 3, true); // kind, room, on the floor
            layout.Take(1);
            layout.Take(4, 3, true); // x, y, z
            layout.Take(2, 4);       // angle, type, flags, reserved
            layout.Take(4, 4);       // intensities, fade, colour
        }
    }
    if (project.Triggers.Count > 0) {
        layout.Take(4);          // tag
        layout.Take(2, 1, true); // version
        layout.Take(4, 2, true); // length, count
        for (uint32_t i = 0; i < project.Triggers.Count; ++i) {
            const TEditorTrigger& t = project.Triggers.Triggers[i];
            layout.Take(1, 8, true); // room, column, row, kind, timer, once, mask, death
            layout.Take(2, 1, true); // object
            layout.Take(1, 2, true); // action count, setup bits
            for (int a = 0; a < t.ActionCount; ++a) {
                layout.Take(1, 4, true); // kind, seconds, once, camera bits
                layout.Take(2, 1, true); // value
                layout.Take(2);          // reserved
            }
        }
    }
    if (const std::size_t links = FlipLinks(project).size(); links > 0) {
        layout.Take(4);                  // tag
        layout.Take(2, 1, true);         // version
        layout.Take(4, 2, true);         // length, count
        layout.Take(1, 2 * links, true); // each link's room and alternate
    }
    if (layout.Size() != sample.File.size()) {
        throw std::logic_error("the project layout walk does not cover the file");
    }
    return sample;
}

void MakeRandomProject(TEditorProject& project, Random& random, const std::string& baseLevel) {
    project.Clear();
    SceneRooms scene;
    SectorToolState tools;
    const int rooms = 1 + Below(random, 6);
    for (int r = 1; r <= rooms; ++r) {
        const int y = 1 + Below(random, 50);
        RoomDialogValues values =
            RoomAt(1 + Below(random, 31), 1 + Below(random, 31), Below(random, 201), y,
                   Below(random, 201), 1 + Below(random, std::min(12, 64 - y)));
        values.Name = NextRoomName(project);
        values.AmbientLight = Below(random, 32);
        values.FloorTop = Below(random, 20);
        values.FloorWalls = 1 + Below(random, 20);
        values.CeilingTop = 1 + Below(random, 20);
        values.CeilingWalls = Below(random, 20);
        values.Water = Below(random, 4) == 0;
        values.Sky = Below(random, 4) == 0;
        values.Quicksand = Below(random, 8) == 0;
        AddRoom(project, scene, values);
        if (Below(random, 6) == 0) {
            CloneRoom(project);
        }
        if (r > 1 && Below(random, 2) == 0) {
            SendRoomTo(project, static_cast<SendDirection>(Below(random, 6)), 1 + Below(random, r));
        }
    }
    for (int edit = Below(random, 40 * project.RoomCount); edit > 0; --edit) {
        SelectRoom(project, scene, Below(random, project.RoomCount));
        const TEditorRoom& room = project.Current();
        tools.SelectedShape = Below(random, 11);
        tools.ShapeMirror = Below(random, 2) * 6;
        tools.ReplicationCount = 1 + Below(random, 4);
        tools.PutPortals = Below(random, 3) == 0;
        tools.PutTextures = Below(random, 4) != 0;
        tools.FloorTexture = Below(random, 20);
        tools.CeilingTexture = Below(random, 20);
        tools.FloorWalls = Below(random, 20);
        tools.CeilingWalls = Below(random, 20);
        switch (Below(random, 5)) {
        case 0:
            tools.SetRoomAbove(Below(random, project.RoomCount + 1));
            break;
        case 1:
            tools.SetRoomSide(Below(random, project.RoomCount + 1));
            break;
        case 2:
            tools.SetRoomBelow(Below(random, project.RoomCount + 1));
            break;
        default:
            break;
        }
        scene.HeightSelector = Below(random, room.Height);
        EditClick(project, scene, tools, ViewHit::OfSector(1 + Below(random, room.SectorCount())),
                  Below(random, 2) == 0, Below(random, 2) == 0);
        if (Below(random, 10) == 0 && project.RoomCount > 1) {
            AddPortalView(project, {1 + Below(random, project.RoomCount), 1 + Below(random, 4),
                                    1 + Below(random, 4), Below(random, 6)});
            PortalOriginClick(project, ViewHit::OfSector(1 + Below(random, room.SectorCount())),
                              project.Current().PortalViewCount);
        }
    }
    SelectRoom(project, scene, Below(random, project.RoomCount));
    BuildSettings settings;
    settings.LevelDescription = "generated";
    settings.BaseLevelFile = baseLevel;
    StoreBuildSettings(project, settings);
}

void AddRandomObjects(TEditorProject& project, Random& random) {
    test::PlaceRandomObjects(project, random, 1 + Below(random, Below(random, 4) == 0 ? 600 : 30));
    test::PlaceRandomTriggers(project, random, Below(random, 40));
}

void AddRandomAlternates(TEditorProject& project, Random& random) {
    SceneRooms scene;
    for (int made = 1 + Below(random, 4); made > 0; --made) {
        SelectRoom(project, scene, Below(random, project.RoomCount));
        MakeAlternateRoom(project, scene); // refused for a room already linked
    }
}

Sample ObjectsJsonSample(const std::string& json, const std::string& name) {
    Sample sample;
    sample.Name = name;
    sample.Text = true;
    sample.File.assign(json.begin(), json.end());
    for (std::size_t at = 0; at < json.size();) {
        const std::size_t start = json.find_first_of("-0123456789", at);
        if (start == std::string::npos) {
            break;
        }
        const std::size_t end =
            std::min(json.find_first_not_of("0123456789", start + 1), json.size());
        // Digits that end a name ("intensity2") are no number.
        if (start == 0 || std::isalnum(static_cast<unsigned char>(json[start - 1])) == 0) {
            sample.Fields.push_back({start, end - start});
        }
        at = end;
    }
    return sample;
}

Sample ItemsTableSample(const TLevelData& level, Random& random, const std::string& name) {
    const bool second = UsesSecondGameRecords(level.FormatKind);
    const int rooms = level.NumRooms;
    FieldBuilder b;
    b.Text("\x07QUILLON", 8);
    const uint32_t items = static_cast<uint32_t>(Below(random, 6));
    b.Key(items);
    for (uint32_t i = 0; i < items; ++i) {
        const int r = Below(random, rooms);
        const TLevelRoom& room = level.Rooms[r];
        b.Value(static_cast<int16_t>(Below(random, 200)));
        b.Key(static_cast<int16_t>(r));
        b.Key(room.RoomInfo.X + 1024 * (1 + Below(random, room.NumXSectors)) - 512);
        b.Value(room.RoomInfo.YBottom - 256 * Below(random, 4));
        b.Value(room.RoomInfo.Z + 1024 * (1 + Below(random, room.NumZSectors)) - 512);
        b.Value(static_cast<uint16_t>(16384 * Below(random, 4)));
        b.Value(static_cast<uint16_t>(0x10FF));
        if (second) {
            b.Value(static_cast<uint16_t>(0xFF0F));
        }
        b.Value(static_cast<uint16_t>(Below(random, 2) * 0x3E00));
    }
    // Floor-data entries: kill entries and triggers with their actions.
    std::vector<uint16_t> words;
    for (int entry = Below(random, 4); entry > 0; --entry) {
        if (Below(random, 3) == 0) {
            words.push_back(0x8005);
        } else {
            words.push_back(static_cast<uint16_t>(0x8004 | Below(random, 10) << 8));
            words.push_back(static_cast<uint16_t>(0x3E00 | Below(random, 256)));
            words.push_back(static_cast<uint16_t>(
                0x8000 | Below(random, std::max(1, static_cast<int>(items)))));
        }
    }
    b.Key(static_cast<uint16_t>(words.size()));
    for (uint16_t word : words) {
        b.Value(word);
    }
    const uint32_t cameras = static_cast<uint32_t>(Below(random, 4));
    b.Key(cameras);
    for (uint32_t c = 0; c < cameras; ++c) {
        const int r = Below(random, rooms);
        b.Value(level.Rooms[r].RoomInfo.X + 1536).Value(level.Rooms[r].RoomInfo.YBottom);
        b.Value(level.Rooms[r].RoomInfo.Z + 1536);
        b.Value(static_cast<int16_t>(r)).Value(static_cast<uint16_t>(0));
    }
    const uint16_t blocks = static_cast<uint16_t>(Below(random, rooms + 1));
    b.Key(blocks);
    uint8_t bytes[24] = {};
    for (int r = 0; r < blocks; ++r) {
        const uint16_t sprites = static_cast<uint16_t>(Below(random, 3));
        b.Key(sprites);
        for (int s = 0; s < sprites; ++s) {
            b.Value(static_cast<uint16_t>(Below(random, level.Rooms[r].NumVertices)));
            b.Value(static_cast<uint16_t>(Below(random, level.NumSpriteTextures)));
        }
        const uint16_t lights = static_cast<uint16_t>(Below(random, 3));
        b.Key(lights);
        for (int l = 0; l < lights; ++l) {
            bytes[0] = static_cast<uint8_t>(random());
            b.Block(bytes, second ? 24 : 18);
        }
        const uint16_t statics = static_cast<uint16_t>(Below(random, 3));
        b.Key(statics);
        for (int s = 0; s < statics; ++s) {
            b.Block(bytes, second ? 20 : 18);
        }
        b.Value(static_cast<int16_t>(Below(random, 4) == 0 ? Below(random, rooms) : -1));
        b.Value(static_cast<uint16_t>(Below(random, 2)));
    }
    for (int link = words.empty() ? 0 : Below(random, 4); link > 0; --link) {
        const int r = Below(random, rooms);
        const int sectors = level.Rooms[r].NumZSectors * level.Rooms[r].NumXSectors;
        b.Key(static_cast<uint16_t>(r + 1));
        b.Key(static_cast<uint16_t>(1 + Below(random, sectors)));
        b.Key(static_cast<uint16_t>(Below(random, static_cast<int>(words.size()))));
    }
    return b.Take(name);
}

Sample MeshesFileSample(const TLevelData& level, Random& random, const std::string& name) {
    const bool second = UsesSecondGameRecords(level.FormatKind);
    FieldBuilder b;
    b.Text("\x10Quillon MSH file", 17);
    b.Value(static_cast<uint32_t>(level.FormatKind));
    const uint16_t rooms = static_cast<uint16_t>(1 + Below(random, level.NumRooms));
    b.Key(rooms);
    for (int r = 0; r < rooms; ++r) {
        const TLevelRoom& room = level.Rooms[r];
        b.Key(room.NumVertices);
        if (second) {
            b.Block(room.Vertices2, sizeof(TVertex2) * room.NumVertices);
        } else {
            b.Block(room.Vertices1, sizeof(TVertex1) * room.NumVertices);
        }
        b.Key(room.NumRectangles);
        for (int f = 0; f < room.NumRectangles; ++f) {
            for (uint16_t v : room.Rectangles[f].Vertices) {
                b.Value(v);
            }
            b.Value(room.Rectangles[f].Texture);
        }
        b.Key(room.NumTriangles);
        for (int f = 0; f < room.NumTriangles; ++f) {
            for (uint16_t v : room.Triangles[f].Vertices) {
                b.Value(v);
            }
            b.Value(room.Triangles[f].Texture);
        }
    }
    if (Below(random, 2) == 0) {
        b.Key(level.NumBoxes);
        for (int array = 0; array < (second ? 5 : 3); ++array) {
            b.Block(level.Zones[array], 2 * level.NumBoxes);
        }
    }
    return b.Take(name);
}

Sample ScriptSample(const TLevelData& level, Random& random, const std::string& name) {
    Sample sample;
    sample.Name = name;
    sample.Text = true;
    auto text = [&](const std::string& s) {
        sample.File.insert(sample.File.end(), s.begin(), s.end());
    };
    auto command = [&](const std::string& commandName, const std::vector<int>& parameters) {
        text(commandName + "(");
        for (std::size_t p = 0; p < parameters.size(); ++p) {
            const std::string number = std::to_string(parameters[p]);
            sample.Fields.push_back({sample.File.size(), number.size()});
            text(number + (p + 1 < parameters.size() ? "," : ""));
        }
        text(")\n");
    };
    auto sector = [&] {
        const int r = Below(random, level.NumRooms);
        const TLevelRoom& room = level.Rooms[r];
        return std::vector<int>{r + 1, 1 + Below(random, room.NumXSectors),
                                1 + Below(random, room.NumZSectors)};
    };
    auto with = [](std::vector<int> head, std::initializer_list<int> tail) {
        head.insert(head.end(), tail);
        return head;
    };
    for (int line = 1 + Below(random, 12); line > 0; --line) {
        switch (Below(random, 9)) {
        case 0:
            text(Below(random, 2) ? "; a comment\n" : "\n");
            break;
        case 1: {
            command("Start_Trigger", sector());
            for (int kind = 1 + Below(random, 2); kind > 0; --kind) {
                const int code = Below(random, 9);
                const char* kinds[] = {"Do_with_Activate",
                                       "Do_with_Deactivate",
                                       "If_Lara_on_ground_Do_with_Activate",
                                       "If_Lara_on_ground_Do_with_Deactivate",
                                       "If_Not_Lara_on_ground_Do_with_Activate",
                                       "If_Item_is_ON_Do_with_Activate",
                                       "If_Item_is_ON_Do_with_Activate_Else_with_Deactivate",
                                       "If_Item_is_picked_Up_Do_with_Activate",
                                       "If_Item_at_Sector_Do_with_Activate_Else_with_Deactivate"};
                command(kinds[code], {Below(random, 128), Below(random, 256), Below(random, 2),
                                      1 + Below(random, 3)});
                for (int action = 1 + Below(random, 3); action > 0; --action) {
                    const char* actions[] = {
                        "Item",         "Switch_camera", "Underwater_Flow",  "Alternate_Room",
                        "Look_at_item", "End_Level",     "Play_sound_Track", "Timer",
                        "Found_Secret"};
                    command(actions[Below(random, 9)],
                            {1 + Below(random, 3), Below(random, 20), Below(random, 2)});
                }
                command("End", {});
            }
            command("End_Trigger", {});
            break;
        }
        case 2:
            command("Put_Item",
                    with(sector(), {Below(random, 8), Below(random, 200), Below(random, 4),
                                    Below(random, 5), Below(random, 2), 1 + Below(random, 3)}));
            break;
        case 3:
            command("Kill_Lara", sector());
            break;
        case 4:
            command("Add_Camera", with(sector(), {Below(random, 8), Below(random, 4)}));
            break;
        case 5:
            command("Copy_Trigger", sector());
            break;
        case 6:
            command("Paste_Trigger", sector());
            break;
        case 7:
            command("Put_Alternate", {1 + Below(random, level.NumRooms), Below(random, 4) - 1});
            break;
        default:
            command("Put_Item", with(sector(), {1, 5, 0, 0}));
            break;
        }
    }
    return sample;
}

} // namespace morvane::fuzz
