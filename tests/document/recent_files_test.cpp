#include "support/test_files.h"

#include "document/recent_files.h"
#include "io/io_error.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace morvane {
namespace {

using Paths = std::vector<std::string>;

TEST(RecentFiles, KeepsFiveMostRecentFirst) {
    test::TempDir dir;
    const std::string config = dir.Path("rconfig.cnf");
    RecentFiles recent;
    recent.Load(config);
    EXPECT_TRUE(recent.Paths().empty()) << "no list yet";
    for (const char* path : {"a.mvn", "b.mvn", "c.mvn", "d.mvn", "e.mvn"}) {
        recent.Remember(path);
    }
    EXPECT_EQ(recent.Paths(), (Paths{"e.mvn", "d.mvn", "c.mvn", "b.mvn", "a.mvn"}));
    recent.Remember("c.mvn");
    EXPECT_EQ(recent.Paths(), (Paths{"c.mvn", "e.mvn", "d.mvn", "b.mvn", "a.mvn"}))
        << "a listed path moves to the top without growing the list";
    recent.Remember("f.mvn");
    EXPECT_EQ(recent.Paths(), (Paths{"f.mvn", "c.mvn", "e.mvn", "d.mvn", "b.mvn"}))
        << "the sixth distinct path drops the oldest";

    recent.Save(config);
    EXPECT_EQ(test::ReadFileBytes(config).size(), 30u);
    RecentFiles again;
    again.Load(config);
    EXPECT_EQ(again.Paths(), recent.Paths());
}

TEST(RecentFiles, ReadsListsWrittenElsewhere) {
    test::TempDir dir;
    const std::string config = dir.Path("rconfig.cnf");
    const std::string text = "C:\\levels\\one.mvn\r\n\r\ntwo.mvn\r\n3\n4\n5\n6\n7\n";
    test::WriteFileBytes(config, test::Bytes(text.begin(), text.end()));
    RecentFiles recent;
    recent.Load(config);
    EXPECT_EQ(recent.Paths(), (Paths{"C:\\levels\\one.mvn", "two.mvn", "3", "4", "5"}));
}

// The list lives in the user's config folder; the list an older version kept beside the program
// is taken over once, and the file beside the program is never written.
TEST(RecentFiles, TakesOverTheListBesideTheProgramOnce) {
    test::TempDir dir;
    const std::string old = dir.Path("program/rconfig.cnf");
    const std::string config = dir.Path("home/.config/Morvane3D/rconfig.cnf");
    std::filesystem::create_directories(dir.Path("program"));
    const std::string oldText = "old1.mvn\nold2.mvn\n";
    const test::Bytes oldBytes(oldText.begin(), oldText.end());

    RecentFiles none;
    none.Remember("stale.mvn");
    none.LoadTakingOver(config, old);
    EXPECT_TRUE(none.Paths().empty()) << "no list anywhere";
    EXPECT_FALSE(std::filesystem::exists(dir.Path("home"))) << "nothing to take over, nothing made";

    test::WriteFileBytes(old, oldBytes);
    RecentFiles first;
    first.LoadTakingOver(config, old);
    EXPECT_EQ(first.Paths(), (Paths{"old1.mvn", "old2.mvn"}));
    EXPECT_EQ(test::ReadFileBytes(config), oldBytes) << "written to the config folder at once";

    const std::string changed = "changed.mvn\n";
    test::WriteFileBytes(old, test::Bytes(changed.begin(), changed.end()));
    RecentFiles second;
    second.LoadTakingOver(config, old);
    EXPECT_EQ(second.Paths(), (Paths{"old1.mvn", "old2.mvn"}))
        << "once taken over, the list beside the program is not read again";
    second.Remember("new.mvn");
    second.Save(config);
    EXPECT_EQ(test::ReadFileBytes(old), test::Bytes(changed.begin(), changed.end()))
        << "the file beside the program is never written";
    RecentFiles third;
    third.LoadTakingOver(config, old);
    EXPECT_EQ(third.Paths(), (Paths{"new.mvn", "old1.mvn", "old2.mvn"}));
}

TEST(RecentFiles, AConfigFolderThatCannotBeWrittenKeepsTheListForThisRun) {
    test::TempDir dir;
    const std::string old = dir.Path("rconfig.cnf");
    test::WriteFileBytes(old, {'a', '.', 'm', 'v', 'n', '\n'});
    // A file where the config folder would be made.
    test::WriteFileBytes(dir.Path("blocked"), {});
    const std::string config = dir.Path("blocked/Morvane3D/rconfig.cnf");
    RecentFiles recent;
    recent.LoadTakingOver(config, old);
    EXPECT_EQ(recent.Paths(), Paths{"a.mvn"});
    EXPECT_THROW(recent.Save(config), IoError);
    RecentFiles noFolderKnown;
    noFolderKnown.LoadTakingOver("", old);
    EXPECT_EQ(noFolderKnown.Paths(), Paths{"a.mvn"});
    EXPECT_EQ(dir.Entries(), (std::vector<std::string>{"blocked", "rconfig.cnf"}))
        << "nothing written beside the old list";
}

} // namespace
} // namespace morvane
