#pragma once

#include <stdexcept>
#include <string>

namespace morvane {

// A build that cannot go on: the text is shown to the user and no level file is written.
class BuildError : public std::runtime_error {
public:
    explicit BuildError(const std::string& text) : std::runtime_error(text) {}
};

// The level's capacities that a whole project fills (a room's own are counted by its mesh).
enum class LevelCapacity { Boxes, OverlapWords, FloorDataWords };

// A build that stops because the level cannot hold what the project needs.
class CapacityError : public BuildError {
public:
    CapacityError(LevelCapacity which, const std::string& text) : BuildError(text), Which(which) {}
    LevelCapacity Which;
};

} // namespace morvane
