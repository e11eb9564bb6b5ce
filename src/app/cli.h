#pragma once

#include <ostream>
#include <string>
#include <vector>

namespace morvane {

// Exit codes of morvane3d-cli.
inline constexpr int CliDone = 0;
inline constexpr int CliFailed = 1;
inline constexpr int CliUsage = 2;

// Runs one command of the command-line tool (the arguments without the program name); results
// go to out, messages to err.
int RunCli(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

} // namespace morvane
