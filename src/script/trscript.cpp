#include "script/trscript.h"

#include "io/binary_reader.h"
#include "io/io_error.h"
#include "level/level_format.h"
#include "level/world_units.h"
#include "script/trigger_encoding.h"

#include <cstring>
#include <limits>
#include <memory>

namespace morvane {

namespace {

constexpr ScriptCommand Commands[] = {
    {"Start_Trigger", 0, 1},
    {"Copy_Trigger", 0, 2},
    {"Paste_Trigger", 0, 3},
    {"Put_Item", 0, 4},
    {"Kill_Lara", 0, 5},
    {"Add_Camera", 0, 6},
    {"Put_Alternate", 0, 7},
    {"Do_with_Activate", 1, 1},
    {"Do_with_Deactivate", 1, 2},
    {"If_Lara_on_ground_Do_with_Activate", 1, 3},
    {"If_Lara_on_ground_Do_with_Deactivate", 1, 4},
    {"If_Not_Lara_on_ground_Do_with_Activate", 1, 5},
    {"If_Item_is_ON_Do_with_Activate", 1, 6},
    {"If_Item_is_ON_Do_with_Activate_Else_with_Deactivate", 1, 7},
    {"If_Item_is_picked_Up_Do_with_Activate", 1, 8},
    {"If_Item_at_Sector_Do_with_Activate_Else_with_Deactivate", 1, 9},
    {"End_Trigger", 1, 10},
    {"Item", 2, 1},
    {"Switch_camera", 2, 2},
    {"Underwater_Flow", 2, 3},
    {"Alternate_Room", 2, 4},
    {"Look_at_item", 2, 7},
    {"End_Level", 2, 8},
    {"Play_sound_Track", 2, 9},
    {"Timer", 2, 10},
    {"Found_Secret", 2, 11},
    {"End", 2, 12},
};

enum TopLevelCode {
    StartTrigger = 1,
    CopyTrigger,
    PasteTrigger,
    PutItem,
    KillLara,
    AddCamera,
    PutAlternate
};
constexpr int EndTriggerCode = 10;
enum ActionCode {
    ActionItem = 1,
    ActionSwitchCamera = 2,
    ActionUnderwaterFlow = 3,
    ActionAlternateRoom = 4,
    ActionLookAtItem = 7,
    ActionEndLevel = 8,
    ActionPlaySoundTrack = 9,
    ActionTimer = 10,
    ActionFoundSecret = 11,
    ActionEnd = 12,
};

// Trigger kinds by command code: the trigger type, whether the setup takes a timer, whether an
// item word follows, and the minimum parameter count.
struct TriggerKind {
    int Type;
    bool Timer;
    bool Item;
    int MinParams;
};
constexpr TriggerKind TriggerKinds[10] = {
    {},
    {0, true, false, 3},  // Do_with_Activate
    {9, false, false, 2}, // Do_with_Deactivate
    {1, true, false, 3},  // If_Lara_on_ground_Do_with_Activate
    {6, false, false, 2}, // If_Lara_on_ground_Do_with_Deactivate
    {8, true, false, 3},  // If_Not_Lara_on_ground_Do_with_Activate
    {3, true, true, 4},   // If_Item_is_ON_Do_with_Activate
    {2, true, true, 4},   // If_Item_is_ON_Do_with_Activate_Else_with_Deactivate
    {4, true, true, 4},   // If_Item_is_picked_Up_Do_with_Activate
    {5, true, true, 4},   // If_Item_at_Sector_Do_with_Activate_Else_with_Deactivate
};

constexpr const char* NotEnoughParameters = "Not enough parameters:->";

// The games' action numbers the script's actions write (trigger_encoding.h makes the words).
constexpr int ActionObjectBits = 0;
constexpr int ActionCurrentBits = 2;
constexpr int ActionFlipMapBits = 3;
constexpr int ActionLookAtBits = 6;
constexpr int ActionEndLevelBits = 7;
constexpr int ActionSoundtrackBits = 8;
constexpr int ActionSecretBits = 10;

// A number counted from 1 as the word's from 0, cut to 16 bits.
uint16_t Minus1(int value) {
    return static_cast<uint16_t>(static_cast<uint32_t>(value) - 1);
}

bool SameIgnoringCase(const char* a, const std::string& b) {
    std::size_t n = std::strlen(a);
    if (n != b.size()) {
        return false;
    }
    for (std::size_t i = 0; i < n; ++i) {
        char x = a[i], y = b[i];
        if (x >= 'a' && x <= 'z') {
            x = static_cast<char>(x - 32);
        }
        if (y >= 'a' && y <= 'z') {
            y = static_cast<char>(y - 32);
        }
        if (x != y) {
            return false;
        }
    }
    return true;
}

struct FileCloser {
    void operator()(std::FILE* file) const { std::fclose(file); }
};

// One compile: the three reading states (top level, trigger block, action list) over one file.
class Compiler {
public:
    Compiler(std::FILE* file, const std::string& fileName, TLevelData& level, TScriptState& state)
        : reader_(file), fileName_(fileName), level_(level), state_(state) {}

    // A parameter that is not an integer is a file error naming the file and the line:
    // Scripting file "X" refused: line 12: 'a' is not a valid integer value.
    ReadResult Run() {
        int stop = 0;
        try {
            stop = Compile();
        } catch (const ScriptValueError& e) {
            throw FileError(ScriptFileKind, fileName_, RefusedOutcome,
                            "line " + std::to_string(state_.ScriptLineNumber) + ": " + e.what());
        }
        if (stop == 0) {
            return {};
        }
        return ReadResult::Failed(ReadStatus::LineError,
                                  "Error at Line " + std::to_string(state_.ScriptLineNumber) + ":" +
                                      state_.ScriptErrorText);
    }

private:
    int Compile();

    enum class Line { Command, EndOfFile, Failed };

    // Reads and parses the next line: its command index in `command`.
    Line Next(int& command) {
        line_ = reader_.ReadScriptLine(state_);
        if (state_.ScriptLineNumber < 0) {
            return Line::EndOfFile;
        }
        if (reader_.LineTooLong()) {
            return Fail("Line too long (more than " + std::to_string(MaxScriptLineLength) +
                        " characters):->");
        }
        std::string name;
        if (ParseScriptCommand(line_, state_, name) == ParseResult::TooManyParameters) {
            return Fail("Too many parameters:->" + line_);
        }
        command = FindScriptCommand(name);
        if (command < 0) {
            return Fail("Invalid Command:->" + line_);
        }
        return Line::Command;
    }
    Line Fail(const std::string& text) {
        state_.ScriptErrorText = text;
        return Line::Failed;
    }
    bool Error(const std::string& text) {
        state_.ScriptErrorText = text;
        return false;
    }
    bool Enough(int minimum) {
        return state_.ScriptParamCount >= minimum || Error(NotEnoughParameters);
    }
    int P(int position) const { return state_.Param(position); }

    // The sector (x, z) of room number `room`, or an error.
    bool CheckSector(int room, int x, int z) {
        if (room < 1 || room > level_.NumRooms) {
            return Error("Invalid room number:->" + line_);
        }
        const TLevelRoom& r = level_.Rooms[room - 1];
        if (x < 1 || x > r.NumXSectors || z < 1 || z > r.NumZSectors) {
            return Error("Invalid sector:->" + line_);
        }
        return true;
    }
    TGameSector& Sector(int room, int x, int z) {
        TLevelRoom& r = level_.Rooms[room - 1];
        return r.Sectors[(x - 1) * r.NumZSectors + (z - 1)];
    }
    // World positions are worked out in 64 bits and must fit the level's 32-bit fields.
    int64_t CenterX(int room, int x) const {
        return int64_t{level_.Rooms[room - 1].RoomInfo.X} + (x - 1) * SectorSize + SectorSize / 2;
    }
    int64_t CenterZ(int room, int z) const {
        return int64_t{level_.Rooms[room - 1].RoomInfo.Z} + (z - 1) * SectorSize + SectorSize / 2;
    }
    // Y of a height h in clicks above the sector's floor.
    int64_t HeightY(int room, int x, int z, int h) {
        return (int64_t{Sector(room, x, z).FloorHeight} - h) * ClickSize;
    }
    static bool Fits32(int64_t value) {
        return value >= std::numeric_limits<int32_t>::min() &&
               value <= std::numeric_limits<int32_t>::max();
    }
    // A position that the level cannot hold: the sector lies too far out, or the height is
    // too far above or below it.
    bool CheckPosition(int64_t x, int64_t y, int64_t z) {
        if (!Fits32(x) || !Fits32(z)) {
            return Error("Invalid sector:->" + line_);
        }
        return Fits32(y) || Error("Invalid height:->" + line_);
    }

    bool TopLevelCommand(int code);
    bool TriggerBlock(int room, int x, int z);
    // Reads one action list; `ended` is false when the file ended inside it.
    bool ActionList(bool& ended);
    bool PutItemCommand();
    bool AddCameraCommand();
    bool AppendWord(uint16_t word);
    bool AppendToSector(int room, int x, int z, const uint8_t* bytes, int count) {
        return AppendSectorFloorData(level_, room, x, z, bytes, count) ||
               Error("Floor data full:->" + line_);
    }

    ScriptLineReader reader_;
    const std::string& fileName_;
    TLevelData& level_;
    TScriptState& state_;
    std::string line_;
};

int Compiler::Compile() {
    state_.ScriptLineNumber = 0;
    for (;;) {
        int command = 0;
        switch (Next(command)) {
        case Line::EndOfFile:
            return 0;
        case Line::Failed:
            return -1;
        case Line::Command:
            break;
        }
        if (Commands[command].Group != 0) {
            Error("Missing Start_trigger commando:->" + line_);
            return -1;
        }
        if (!TopLevelCommand(Commands[command].Code)) {
            return -1;
        }
        if (state_.ScriptLineNumber < 0) {
            return 0; // the file ended inside a trigger block
        }
    }
}

bool Compiler::TopLevelCommand(int code) {
    switch (code) {
    case StartTrigger:
        return Enough(3) && CheckSector(P(1), P(2), P(3)) && TriggerBlock(P(1), P(2), P(3));
    case CopyTrigger:
        if (!Enough(3) || !CheckSector(P(1), P(2), P(3))) {
            return false;
        }
        state_.FloorDataClipboard = Sector(P(1), P(2), P(3)).FloorDataIndex;
        return true;
    case PasteTrigger:
        if (!Enough(3) || !CheckSector(P(1), P(2), P(3))) {
            return false;
        }
        Sector(P(1), P(2), P(3)).FloorDataIndex = state_.FloorDataClipboard;
        return true;
    case PutItem:
        return Enough(7) && CheckSector(P(1), P(2), P(3)) && PutItemCommand();
    case KillLara: {
        if (!Enough(3) || !CheckSector(P(1), P(2), P(3))) {
            return false;
        }
        const uint8_t kill[2] = {0x05, 0x80};
        return AppendToSector(P(1), P(2), P(3), kill, 2);
    }
    case AddCamera:
        return Enough(4) && CheckSector(P(1), P(2), P(3)) && AddCameraCommand();
    case PutAlternate:
        if (!Enough(2)) {
            return false;
        }
        if (P(1) < 1 || P(1) > level_.NumRooms) {
            return Error("Invalid room number:->" + line_);
        }
        level_.Rooms[P(1) - 1].AlternateRoom = static_cast<int16_t>(P(2));
        return true;
    default:
        return false;
    }
}

bool Compiler::PutItemCommand() {
    const int room = P(1), x = P(2), z = P(3), h = P(4), type = P(5), facing = P(6), place = P(7);
    const int count = state_.ScriptParamCount;
    const int flags = count >= 8 ? P(8) : 0;
    const int copies = count >= 9 ? P(9) : 1;
    const int light = count >= 10 ? P(10) : 16;
    int64_t cx = CenterX(room, x), cz = CenterZ(room, z);
    switch (place) {
    case 1:
        cz += SectorSize / 2;
        break;
    case 2:
        cz -= SectorSize / 2;
        break;
    case 3:
        cx -= SectorSize / 2;
        break;
    case 4:
        cx += SectorSize / 2;
        break;
    default:
        break;
    }
    const int64_t y = HeightY(room, x, z, h);
    if (!CheckPosition(cx, y, cz)) {
        return false;
    }
    const auto angle = static_cast<uint16_t>((facing % 4) * 16384);
    const auto intensity = static_cast<uint16_t>((light % 256) * 256 + 255);
    if (copies > 0 && level_.NumItems + static_cast<uint32_t>(copies) > MaxItems) {
        return Error("Too many items:->" + line_);
    }
    for (int c = 0; c < copies; ++c) {
        if (UsesSecondGameRecords(level_.FormatKind)) {
            level_.Items2[level_.NumItems++] = TItem2{static_cast<int16_t>(type),
                                                      static_cast<int16_t>(room - 1),
                                                      static_cast<int32_t>(cx),
                                                      static_cast<int32_t>(y),
                                                      static_cast<int32_t>(cz),
                                                      angle,
                                                      intensity,
                                                      0xFF0F,
                                                      static_cast<uint16_t>(flags)};
        } else {
            level_.Items1[level_.NumItems++] = TItem1{static_cast<int16_t>(type),
                                                      static_cast<int16_t>(room - 1),
                                                      static_cast<int32_t>(cx),
                                                      static_cast<int32_t>(y),
                                                      static_cast<int32_t>(cz),
                                                      angle,
                                                      intensity,
                                                      static_cast<uint16_t>(flags)};
        }
    }
    return true;
}

bool Compiler::AddCameraCommand() {
    if (level_.NumCameras >= MaxCameras) {
        return Error("Too many cameras:->" + line_);
    }
    const int room = P(1), x = P(2), z = P(3), h = P(4);
    const int flags = state_.ScriptParamCount >= 5 ? P(5) : 0;
    const int64_t cx = CenterX(room, x), y = HeightY(room, x, z, h), cz = CenterZ(room, z);
    if (!CheckPosition(cx, y, cz)) {
        return false;
    }
    level_.Cameras[level_.NumCameras++] =
        TCamera{static_cast<int32_t>(cx), static_cast<int32_t>(y), static_cast<int32_t>(cz),
                static_cast<int16_t>(room - 1), static_cast<uint16_t>(flags)};
    return true;
}

bool Compiler::AppendWord(uint16_t word) {
    if (state_.TriggerBufferLength + 2 > static_cast<int32_t>(sizeof(state_.TriggerBuffer))) {
        return Error("Trigger too long:->" + line_);
    }
    state_.TriggerBuffer[state_.TriggerBufferLength++] = static_cast<uint8_t>(word & 0xFF);
    state_.TriggerBuffer[state_.TriggerBufferLength++] = static_cast<uint8_t>(word >> 8);
    return true;
}

bool Compiler::TriggerBlock(int room, int x, int z) {
    std::memset(state_.TriggerBuffer, 0, sizeof(state_.TriggerBuffer));
    state_.TriggerBufferLength = 0;
    int lastHeader = -1; // byte offset of the last trigger header's first word
    for (;;) {
        int command = 0;
        switch (Next(command)) {
        case Line::EndOfFile:
            return true; // the unfinished block is dropped
        case Line::Failed:
            return false;
        case Line::Command:
            break;
        }
        const ScriptCommand& c = Commands[command];
        if (c.Group != 1) {
            return Error("Missing End() command:->" + line_);
        }
        if (c.Code == EndTriggerCode) {
            if (lastHeader < 0) {
                return true; // no trigger kind: nothing to write
            }
            state_.TriggerBuffer[lastHeader + 1] |= 0x80;
            return AppendToSector(room, x, z, state_.TriggerBuffer, state_.TriggerBufferLength);
        }
        const TriggerKind& kind = TriggerKinds[c.Code];
        if (!Enough(kind.MinParams)) {
            return false;
        }
        const int s = P(1);
        const int t = kind.Timer ? P(2) : 0;
        const int f = kind.Timer ? P(3) : P(2);
        lastHeader = state_.TriggerBufferLength;
        if (!AppendWord(TriggerFunctionWord(kind.Type)) || !AppendWord(TriggerSetupWord(t, s, f)) ||
            (kind.Item && !AppendWord(TriggerActionWord(ActionObjectBits, Minus1(P(4)))))) {
            return false;
        }
        bool ended = false;
        if (!ActionList(ended)) {
            return false;
        }
        if (!ended) {
            return true; // end of file inside the action list: the block is dropped
        }
    }
}

bool Compiler::ActionList(bool& ended) {
    for (;;) {
        int command = 0;
        switch (Next(command)) {
        case Line::EndOfFile:
            ended = false;
            return true;
        case Line::Failed:
            return false;
        case Line::Command:
            break;
        }
        const ScriptCommand& c = Commands[command];
        if (c.Group != 2) {
            return Error("Missing End() command:->" + line_);
        }
        const int count = state_.ScriptParamCount;
        auto operand = [&](int position) { return static_cast<uint16_t>(P(position)); };
        auto word = [&](int action, uint16_t value) {
            return AppendWord(TriggerActionWord(action, value));
        };
        bool appended = true;
        switch (c.Code) {
        case ActionItem:
            appended = Enough(1) && word(ActionObjectBits, Minus1(P(1)));
            break;
        case ActionSwitchCamera: {
            if (!Enough(1)) {
                return false;
            }
            const int t = count >= 2 ? P(2) : 0, a = count >= 3 ? P(3) : 0,
                      b = count >= 4 ? P(4) : 0;
            // The third parameter sets bit 12 of the second word, which the games do not read.
            appended = word(TriggerActionCamera, Minus1(P(1))) &&
                       AppendWord(CameraActionSecondWord(t, b % 256 != 0, a % 256 != 0 ? 0x08 : 0));
            break;
        }
        case ActionUnderwaterFlow:
            appended = Enough(1) && word(ActionCurrentBits, operand(1));
            break;
        case ActionAlternateRoom:
            appended = Enough(1) && word(ActionFlipMapBits, operand(1));
            break;
        case ActionLookAtItem:
            appended = Enough(1) && word(ActionLookAtBits, Minus1(P(1)));
            break;
        case ActionEndLevel:
            appended = word(ActionEndLevelBits, 0);
            break;
        case ActionPlaySoundTrack:
            appended = Enough(1) && word(ActionSoundtrackBits, operand(1));
            break;
        case ActionFoundSecret:
            appended = Enough(1) && word(ActionSecretBits, Minus1(P(1)));
            break;
        case ActionTimer:
            break;
        case ActionEnd:
            if (state_.TriggerBufferLength >= 2) {
                state_.TriggerBuffer[state_.TriggerBufferLength - 1] |= 0x80;
            }
            ended = true;
            return true;
        }
        if (!appended) {
            return false;
        }
    }
}

} // namespace

int FindScriptCommand(const std::string& name) {
    if (name.empty()) {
        return -1;
    }
    for (int i = 0; i < static_cast<int>(std::size(Commands)); ++i) {
        if (SameIgnoringCase(Commands[i].Name, name)) {
            return i;
        }
    }
    return -1;
}

const ScriptCommand& ScriptCommandAt(int index) {
    return Commands[index];
}

bool AppendSectorFloorData(TLevelData& level, int room, int x, int z, const uint8_t* bytes,
                           int byteCount) {
    TLevelRoom& r = level.Rooms[room - 1];
    TGameSector& sector = r.Sectors[(x - 1) * r.NumZSectors + (z - 1)];
    const uint32_t end = level.NumFloorData;
    uint32_t src = sector.FloorDataIndex;
    uint32_t dst = end;
    uint16_t* data = level.FloorData;
    // Copies one word; false when the floor data is full.
    auto copy = [&](uint16_t word) {
        if (dst >= MaxFloorData) {
            return false;
        }
        data[dst++] = word;
        return true;
    };
    if (src != 0) {
        bool more = true;
        while (more && src < end) {
            const uint16_t w = data[src++];
            more = (w & 0x8000) == 0;
            if (!copy(w & 0x7FFF)) {
                return false;
            }
            const int function = w & 0xFF;
            if (function == 5) {
                continue; // a kill entry is its one word
            }
            if (function != 4) {
                if (src < end && !copy(data[src++])) {
                    return false;
                }
                continue;
            }
            // A trigger: setup, an item word for some types, then the actions.
            if (src < end && !copy(data[src++])) {
                return false;
            }
            const int type = (w >> 8) & 0x7F;
            if (type >= 2 && type <= 5 && src < end && !copy(data[src++])) {
                return false;
            }
            while (src < end) {
                uint16_t action = data[src++];
                if (!copy(action)) {
                    return false;
                }
                if (((action >> 10) & 0x1F) == 1 && src < end) {
                    action = data[src++]; // a camera action's second word decides
                    if (!copy(action)) {
                        return false;
                    }
                }
                if (action & 0x8000) {
                    break;
                }
            }
        }
    }
    const uint32_t words = static_cast<uint32_t>(byteCount / 2);
    if (dst + words > MaxFloorData) {
        return false;
    }
    std::memcpy(&data[dst], bytes, words * 2);
    sector.FloorDataIndex = static_cast<uint16_t>(end);
    level.NumFloorData = dst + words;
    return true;
}

ReadResult CompileTriggerScript(const std::string& fileName, TLevelData& level,
                                TScriptState& state) {
    std::unique_ptr<std::FILE, FileCloser> file;
    try {
        uint64_t size = 0;
        file.reset(OpenRegularFile(fileName, MaxScriptFileBytes, size));
    } catch (const IoError& e) {
        throw FileError(ScriptFileKind, fileName, RefusedOutcome, e.what());
    }
    return Compiler(file.get(), fileName, level, state).Run();
}

} // namespace morvane
