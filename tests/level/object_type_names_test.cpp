#include "support/test_files.h"

#include "level/object_type_names.h"

#include "level/level_format.h"
#include "level/level_reader.h"

#include <gmock/gmock.h>

#include <memory>
#include <set>

namespace morvane {
namespace {

constexpr int Kinds[] = {FormatTR1, FormatTUB, FormatTR2, FormatTR3};

bool EndsWith(std::string_view text, std::string_view tail) {
    return text.size() >= tail.size() && text.substr(text.size() - tail.size()) == tail;
}

// A slip while typing a table shows as ids out of order, a repeated id or name (a line copied
// without renumbering), stray blanks, or a category that contradicts the name.
TEST(ObjectTypeNames, EachTableIsSortedUniqueAndConsistentWithItsLookups) {
    for (int kind : Kinds) {
        SCOPED_TRACE(FormatKindName(kind));
        const std::span<const ObjectTypeEntry> table = ObjectTypeTable(kind);
        ASSERT_GT(table.size(), 50u);
        std::set<std::string_view> names;
        int previous = -1;
        for (const ObjectTypeEntry& entry : table) {
            SCOPED_TRACE(entry.id);
            EXPECT_GT(entry.id, previous) << "ids ascending, each once";
            previous = entry.id;
            ASSERT_FALSE(entry.name.empty());
            EXPECT_NE(entry.name.front(), ' ');
            EXPECT_NE(entry.name.back(), ' ');
            EXPECT_EQ(entry.name.find("  "), std::string_view::npos);
            EXPECT_TRUE(names.insert(entry.name).second) << "repeated name " << entry.name;

            if (EndsWith(entry.name, "(inventory)")) {
                EXPECT_EQ(entry.category, ObjectCategory::Other) << entry.name;
            } else if (entry.name.starts_with("Door ") || entry.name.starts_with("Trapdoor ")) {
                EXPECT_EQ(entry.category, ObjectCategory::Door) << entry.name;
            } else if (entry.name.starts_with("Keyhole ") ||
                       entry.name.starts_with("Puzzle slot ")) {
                EXPECT_EQ(entry.category, ObjectCategory::Switch) << entry.name;
            } else if (entry.name.starts_with("Key ") || entry.name.starts_with("Puzzle ")) {
                EXPECT_EQ(entry.category, ObjectCategory::KeyItem) << entry.name;
            }

            EXPECT_EQ(ObjectTypeName(kind, entry.id), entry.name);
            EXPECT_EQ(ObjectTypeCategory(kind, entry.id), entry.category);
            EXPECT_EQ(ObjectTypeLabel(kind, entry.id),
                      std::to_string(entry.id) + " " + std::string(entry.name));
            // Between two named ids, and past the last one, nothing is named.
            if (&entry != &table.back() && (&entry)[1].id > entry.id + 1) {
                EXPECT_EQ(ObjectTypeName(kind, entry.id + 1), "");
            }
        }
        EXPECT_EQ(ObjectTypeName(kind, previous + 1), "");
        EXPECT_EQ(ObjectTypeName(kind, -1), "");
    }
    EXPECT_EQ(ObjectTypeTable(FormatTUB).data(), ObjectTypeTable(FormatTR1).data())
        << "the add-on uses the first game's types";
    EXPECT_TRUE(ObjectTypeTable(FormatNone).empty());
    EXPECT_EQ(ObjectTypeName(FormatNone, 0), "");
}

TEST(ObjectTypeNames, WellKnownTypesOfEachGame) {
    for (int kind : Kinds) {
        EXPECT_EQ(ObjectTypeName(kind, 0), "Lara") << FormatKindName(kind);
    }
    // The same number is a different thing in each game.
    EXPECT_EQ(ObjectTypeName(FormatTR1, 7), "Wolf");
    EXPECT_EQ(ObjectTypeName(FormatTR1, 8), "Bear");
    EXPECT_EQ(ObjectTypeName(FormatTR1, 15), "Gorilla");
    EXPECT_EQ(ObjectTypeName(FormatTR1, 18), "Tyrannosaur");
    EXPECT_EQ(ObjectTypeName(FormatTR1, 93), "Small medipack");
    EXPECT_EQ(ObjectTypeName(FormatTR1, 129), "Key 1");
    EXPECT_EQ(ObjectTypeName(FormatTUB, 7), "Wolf");
    EXPECT_EQ(ObjectTypeName(FormatTR2, 15), "Doberman");
    EXPECT_EQ(ObjectTypeName(FormatTR2, 39), "Tiger");
    EXPECT_EQ(ObjectTypeName(FormatTR2, 149), "Small medipack");
    EXPECT_EQ(ObjectTypeName(FormatTR2, 214), "Tyrannosaur");
    EXPECT_EQ(ObjectTypeName(FormatTR3, 28), "Tiger");
    EXPECT_EQ(ObjectTypeName(FormatTR3, 73), "Tony Firehands");
    EXPECT_EQ(ObjectTypeName(FormatTR3, 176), "Small medipack");
    EXPECT_EQ(ObjectTypeName(FormatTR3, 287), "Tyrannosaur");

    EXPECT_EQ(ObjectTypeCategory(FormatTR1, 7), ObjectCategory::Enemy);
    EXPECT_EQ(ObjectTypeCategory(FormatTR2, 149), ObjectCategory::Pickup);
    EXPECT_EQ(ObjectTypeCategory(FormatTR3, 131), ObjectCategory::Door);
    EXPECT_EQ(ObjectTypeCategory(FormatTR1, 1000), ObjectCategory::Other);
    EXPECT_STREQ(ObjectCategoryName(ObjectCategory::KeyItem), "key item");
}

TEST(ObjectTypeNames, LabelsAndSearchMatchNumberOrNameIgnoringCase) {
    EXPECT_EQ(ObjectTypeLabel(FormatTR1, 7), "7 Wolf");
    EXPECT_EQ(ObjectTypeLabel(FormatTR1, 1234), "1234");
    EXPECT_EQ(ObjectTypeLabel(FormatTR3, 12), "12") << "disputed ids stay unnamed";
    EXPECT_EQ(ObjectTypeLabel(FormatNone, 7), "7");

    EXPECT_TRUE(ObjectTypeMatches(FormatTR1, 7, "7"));
    EXPECT_TRUE(ObjectTypeMatches(FormatTR1, 7, "wOLf"));
    EXPECT_TRUE(ObjectTypeMatches(FormatTR1, 7, "  7 wolf "));
    EXPECT_TRUE(ObjectTypeMatches(FormatTR1, 7, "")) << "an empty search keeps every type";
    EXPECT_TRUE(ObjectTypeMatches(FormatTR1, 93, "MEDI"));
    EXPECT_TRUE(ObjectTypeMatches(FormatTR1, 170, "7")) << "a substring of the number";
    EXPECT_FALSE(ObjectTypeMatches(FormatTR1, 7, "bear"));
    EXPECT_FALSE(ObjectTypeMatches(FormatTR1, 7, "8"));
    EXPECT_FALSE(ObjectTypeMatches(FormatTR2, 7, "wolf")) << "7 is not a wolf in the second game";
    EXPECT_FALSE(ObjectTypeMatches(FormatTR1, 7, "wolves"));
    EXPECT_TRUE(ObjectTypeMatches(FormatTR1, 999, "99")) << "an unnamed type by its number";
    EXPECT_FALSE(ObjectTypeMatches(FormatTR1, 999, "wolf"));
}

// The game's own levels place only types with a name: a table shifted by one would leave some
// nameless, and the first game's demo level is known for its wolves and bats.
TEST(ObjectTypeNames, EveryItemOfTheRealLevelsIsNamed) {
    const std::string dir = test::RealFixturesDir();
    if (dir.empty()) {
        GTEST_SKIP() << "the real level files are not beside the repository";
    }
    auto level = std::make_unique<TLevelData>();
    for (const char* file :
         {"tr1-demo-level2.tub", "tr1-opentomb-altroom1.phd", "tr2-hiltop.tr2"}) {
        ASSERT_EQ(ReadLevelFile(*level, dir + "/" + file).Status, ReadStatus::Done) << file;
        std::multiset<std::string_view> names;
        for (uint32_t i = 0; i < level->NumItems; ++i) {
            const int type = UsesSecondGameRecords(level->FormatKind) ? level->Items2[i].Type
                                                                      : level->Items1[i].Type;
            const std::string_view name = ObjectTypeName(level->FormatKind, type);
            EXPECT_NE(name, "") << file << " item " << i << " of type " << type;
            names.insert(name);
        }
        EXPECT_EQ(names.count("Lara"), 1u) << file;
        if (std::string_view(file) == "tr1-demo-level2.tub") {
            EXPECT_EQ(names.count("Wolf"), 11u);
            EXPECT_EQ(names.count("Bat"), 16u);
        }
    }
}

} // namespace
} // namespace morvane
