#pragma once

#include <stdexcept>
#include <string>

namespace morvane {

// A build that cannot go on: the text is shown to the user and no level file is written.
class BuildError : public std::runtime_error {
public:
    explicit BuildError(const std::string& text) : std::runtime_error(text) {}
};

} // namespace morvane
