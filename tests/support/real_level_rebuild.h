#pragma once

// A real level imported into a project and the project built again onto the level as its base:
// what the tests of the import and of the build's steps compare with the level they came from.
#include "import/level_import.h"
#include "level/level_reader.h"
#include "levelbuild/build_pipeline.h"
#include "support/test_files.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

namespace morvane::test {

struct RealLevelRebuild {
    std::unique_ptr<TLevelData> Original = std::make_unique<TLevelData>();
    std::unique_ptr<TLevelData> Rebuilt = std::make_unique<TLevelData>();
    std::unique_ptr<TEditorProject> Project = std::make_unique<TEditorProject>();
    ImportResult Imported;
    // False keeps the record as the build left it (its own box records, for instance) instead
    // of the file read back.
    bool ReadBack = true;

    // Reads `file` of the real level folder, imports it and builds it again into `folder`
    // (under the same extension, which tells the layout), read back into Rebuilt when ReadBack.
    // A step that fails is a fatal failure of the test (ASSERT_NO_FATAL_FAILURE on the call).
    void Run(const std::string& realFolder, const std::string& file, TempDir& folder) {
        const std::string path = realFolder + "/" + file;
        ASSERT_EQ(ReadLevelFile(*Original, path).Status, ReadStatus::Done);
        Imported = ImportLevelRooms(*Original, *Project, path);
        const std::string name = folder.Path("rebuilt-" + file);
        TScriptState script;
        const BuildResult built = BuildLevel(*Project, *Rebuilt, {path, name, "", "", ""},
                                             std::string(MORVANE_SOURCE_DIR) + "/data", script);
        ASSERT_TRUE(built.Written) << ::testing::PrintToString(built.Messages);
        if (ReadBack) {
            ASSERT_EQ(ReadLevelFile(*Rebuilt, name).Status, ReadStatus::Done);
        }
    }
};

} // namespace morvane::test
