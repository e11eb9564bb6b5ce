#include "support/test_files.h"

#include "document/recent_files.h"

#include <gtest/gtest.h>

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

} // namespace
} // namespace morvane
