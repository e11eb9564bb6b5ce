#pragma once

#include "document/short_string.h"

#include <cstdint>
#include <string>

namespace morvane {

// The seven build settings of a project, in the order the project file stores them. One record
// for every place that holds them, over the kind of text: the document, the project file's
// reader and a file's outline keep them as stored (TBuildSettings, texts of fixed capacity), the
// "Build Level File" dialog as typed (BuildSettings). A new setting is a member here and a line
// in VisitBuildSettings.
template <template <int> class Text> struct BasicBuildSettings {
    Text<100> LevelDescription;
    Text<250> Comments;
    Text<100> BaseLevelFile;
    Text<100> ItemsTableFile;
    Text<100> MeshesFile;
    Text<100> ScriptFile;
    Text<100> OutputLevelFile;

    bool operator==(const BasicBuildSettings&) const = default;
};

template <int> using TypedText = std::string;

using TBuildSettings = BasicBuildSettings<TShortString>;
using BuildSettings = BasicBuildSettings<TypedText>;

// Stored as laid out in the project file and the document: the strings one after the other.
static_assert(sizeof(TBuildSettings) == 6 * sizeof(TShortString<100>) + sizeof(TShortString<250>));

// Calls visit(firstVersion, setting...) for each setting in stored order, with the same setting
// of every record given (records of either kind) and the first project-file version that stores
// it (the script file came with version 5).
template <class Visit, class... Records>
void VisitBuildSettings(Visit&& visit, Records&... records) {
    visit(uint8_t{4}, records.LevelDescription...);
    visit(uint8_t{4}, records.Comments...);
    visit(uint8_t{4}, records.BaseLevelFile...);
    visit(uint8_t{4}, records.ItemsTableFile...);
    visit(uint8_t{4}, records.MeshesFile...);
    visit(uint8_t{5}, records.ScriptFile...);
    visit(uint8_t{4}, records.OutputLevelFile...);
}

} // namespace morvane
