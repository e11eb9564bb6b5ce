#include "level/assembled_level.h"

#include "level/level_format.h"

namespace morvane::test {

namespace {

class Assembler {
public:
    Assembler(int32_t kind, const AssembleOptions& options)
        : kind_(kind), options_(options), second_(UsesSecondGameRecords(kind)) {}

    AssembledLevel Build() {
        b_.U32(kind_ == FormatTR2 ? VersionTR2 : kind_ == FormatTR3 ? VersionTR3 : VersionTR1);
        if (second_) {
            Palette();
            b_.Pattern(1024, 0x40);
        }
        b_.U32(static_cast<uint32_t>(options_.Textiles));
        b_.Pattern(std::size_t(options_.Textiles) * 65536, 7);
        if (second_) {
            b_.Pattern(std::size_t(options_.Textiles) * 131072, 9);
        }
        b_.U32(AssembledSpareLong);
        Count("NumRooms", 2, 200);
        b_.U16(static_cast<uint16_t>(options_.Rooms));
        for (int r = 0; r < options_.Rooms; ++r) {
            Room(r);
        }
        Tail();
        level_.File = b_.Get();
        return level_;
    }

private:
    void Count(const std::string& name, int width, uint32_t limit) {
        level_.Counts.push_back({name, b_.Size(), width, limit});
    }
    // A 32-bit counted block of n records of the given size.
    void Block32(const std::string& name, uint32_t limit, uint32_t n, std::size_t size,
                 uint8_t first) {
        Count(name, 4, limit);
        b_.U32(n).Pattern(n * size, first);
    }
    void Block16(const std::string& name, uint32_t limit, uint16_t n, std::size_t size,
                 uint8_t first) {
        Count(name, 2, limit);
        b_.U16(n).Pattern(n * size, first);
    }
    void Palette() {
        level_.PaletteOffset = b_.Size();
        for (int i = 0; i < 768; ++i) {
            b_.U8(static_cast<uint8_t>(i % 64));
        }
    }

    // Room r: corner (1024, 2048 + r), 2 vertices, 1 rectangle, 1 triangle, 1 sprite, 1 portal,
    // 2 x 3 sectors, 1 light, 1 static mesh, alternate room -1, flags 0x0021.
    void Room(int r) {
        const std::string of = " of room " + std::to_string(r);
        b_.I32(1024).I32(2048 + r).I32(0).I32(-3072);
        if (r == 0) {
            level_.FirstDataWordsOffset = b_.Size();
        }
        uint32_t words = ((second_ ? 2 * 12 : 2 * 8) + 10 + 8 + 4 + 8) / 2;
        b_.U32(options_.CorrectDataWords ? words : 0);
        Count("NumVertices" + of, 2, 2000);
        b_.U16(2);
        b_.I16(1).I16(2).I16(3).U16(0x1F00);
        if (second_) {
            b_.U16(0x1234).U16(0x5678);
        }
        b_.I16(4).I16(5).I16(6).U16(0x0A00);
        if (second_) {
            b_.U16(0x1111).U16(0x2222);
        }
        Count("NumRectangles" + of, 2, 3000);
        b_.U16(1).U16(0).U16(1).U16(1).U16(0).U16(7);
        Count("NumTriangles" + of, 2, 1250);
        b_.U16(1).U16(0).U16(1).U16(0).U16(9);
        Block16("NumSprites" + of, 50, 1, 4, 0xA0);
        Block16("NumPortals" + of, 20, 1, 32, 0x20);
        Count("NumZSectors x NumXSectors" + of, 2, 1024);
        b_.U16(2).U16(3);
        for (int s = 0; s < 6; ++s) {
            b_.U16(static_cast<uint16_t>(s)).U16(0xFFFF).U8(255).U8(static_cast<uint8_t>(s));
            b_.U8(255).U8(static_cast<uint8_t>(0xF0 + s));
        }
        b_.U8(0x34).U8(0x12);
        if (second_) {
            b_.I16(0x0777);
        }
        if (kind_ == FormatTR2) {
            b_.I16(2);
        }
        Block16("NumLights" + of, 15, 1, second_ ? 24 : 18, 0x50);
        Block16("NumStaticMeshes" + of, 50, 1, second_ ? 20 : 18, 0x60);
        b_.I16(-1).U8(0x21).U8(0x00);
        if (kind_ == FormatTR3) {
            b_.U8(1).U8(2).U8(3);
        }
    }

    void ObjectTextures() { Block32("NumObjectTextures", 3100, 2, 20, 0x70); }

    void Tail() {
        Block32("NumFloorData", 20001, 3, 2, 0x10);
        Block32("NumMeshData", 110000, 2, 2, 0x11);
        Block32("NumMeshPointers", 1000, 1, 4, 0x12);
        Block32("NumAnimations", 900, 1, 32, 0x13);
        Block32("NumStateChanges", 900, 1, 6, 0x14);
        Block32("NumAnimDispatches", 800, 1, 8, 0x15);
        Block32("NumAnimCommands", 3000, 2, 2, 0x16);
        Block32("NumMeshLinks", 3000, 1, 4, 0x17);
        Block32("NumFrames", 230000, 3, 2, 0x18);
        Block32("NumMoveables", 250, 1, 18, 0x19);
        Block32("NumStaticMeshes", 250, 1, 32, 0x1A);
        if (kind_ != FormatTR3) {
            ObjectTextures();
        }
        Block32("NumSpriteTextures", 2000, 1, 16, 0x1B);
        Block32("NumSpriteSequences", 250, 1, 8, 0x1C);
        if (kind_ == FormatTUB) {
            Palette();
        }
        Block32("NumCameras", 100, 1, 16, 0x1D);
        Block32("NumSoundSources", 200, 1, 16, 0x1E);
        Block32("NumBoxes", 5000, 2, second_ ? 8 : 20, 0x1F);
        Block32("NumOverlaps", 15000, 3, 2, 0x30);
        // Zone arrays, two words each: array a holds the words 0x0A00 + 2a and 0x0A01 + 2a.
        const int arrays = second_ ? 10 : 6;
        for (int a = 0; a < arrays; ++a) {
            b_.U16(static_cast<uint16_t>(0x0A00 + 2 * a))
                .U16(static_cast<uint16_t>(0x0A01 + 2 * a));
        }
        Block32("NumAnimatedTextures", 200, 1, 2, 0x31);
        if (kind_ == FormatTR3) {
            ObjectTextures();
        }
        // One item: type 5, room 0, x 1000, y -256, z 3000, angle 0x4000, intensity 0x1234,
        // (second intensity 0x5678), flags 0x3E00.
        Count("NumItems", 4, 300);
        b_.U32(1).I16(5).I16(0).I32(1000).I32(-256).I32(3000).U16(0x4000).U16(0x1234);
        if (second_) {
            b_.U16(0x5678);
        }
        b_.U16(0x3E00);
        b_.Pattern(8192, 0x33);
        if (kind_ == FormatTR1) {
            Palette();
        }
        Block16("NumCinematicFrames", 90, 1, 16, 0x34);
        Block16("NumDemoData", 16000, 3, 1, 0x35);
        b_.Pattern(second_ ? 740 : 512, 0x36);
        Block32("NumSoundDetails", 200, 1, 8, 0x37);
        if (!second_) {
            b_.U32(5).Pattern(5, 0x38);
        }
        Block32("NumSampleIndices", 255, 2, 4, 0x39);
    }

    int32_t kind_;
    AssembleOptions options_;
    bool second_;
    ByteBuilder b_;
    AssembledLevel level_;
};

} // namespace

AssembledLevel AssembleLevel(int32_t kind, const AssembleOptions& options) {
    return Assembler(kind, options).Build();
}

} // namespace morvane::test
