#pragma once

#include <optional>
#include <ostream>
#include <string>

namespace CLI {
class App;
}

namespace morvane {

// Where a verb writes: its results to Out, its messages to Err.
struct CliStreams {
    std::ostream& Out;
    std::ostream& Err;
};

// A mistake in the arguments that the parser cannot see (a value outside its set, a name that
// does not fit the layout). The tool prints the text and the verb's usage and exits with
// CliUsage.
struct CliUsageError {
    std::string Text;
};

// Each verb of morvane3d-cli is a struct that holds its parsed arguments:
//   Name, Summary  the word on the command line and the line of the tool's usage;
//   Declare        declares the arguments and options on the verb's parser, bound to the fields;
//   Run            does the work from the fields and returns the exit code; IoError and
//                  CliUsageError are turned into exit codes by the tool.
// A new verb is such a struct here, its two functions in cli_verbs.cpp and one line in RunCli.

struct InfoVerb {
    static constexpr const char* Name = "info";
    static constexpr const char* Summary = "print a JSON summary of a level file";
    std::string Level;
    void Declare(CLI::App& verb);
    int Run(const CliStreams& io) const;
};

struct RewriteVerb {
    static constexpr const char* Name = "rewrite";
    static constexpr const char* Summary = "read a level and write it back";
    std::string Input, Output;
    void Declare(CLI::App& verb);
    int Run(const CliStreams& io) const;
};

struct MakeDemoLevelVerb {
    static constexpr const char* Name = "make-demo-level";
    static constexpr const char* Summary = "write a small generated base level";
    std::string Layout, Output;
    void Declare(CLI::App& verb);
    int Run(const CliStreams& io) const;
};

struct ProjectInfoVerb {
    static constexpr const char* Name = "project-info";
    static constexpr const char* Summary = "print a JSON summary of a project";
    std::string Project;
    void Declare(CLI::App& verb);
    int Run(const CliStreams& io) const;
};

struct ObjectsVerb {
    static constexpr const char* Name = "objects";
    static constexpr const char* Summary = "print a project's objects as JSON, or replace them";
    std::string Project;
    // The JSON whose objects replace the project's, and the project file then written (the
    // project itself by default).
    std::optional<std::string> ObjectsFile, OutputProject;
    void Declare(CLI::App& verb);
    int Run(const CliStreams& io) const;
};

struct TriggersVerb {
    static constexpr const char* Name = "triggers";
    static constexpr const char* Summary = "print a project's triggers as JSON, or replace them";
    std::string Project;
    // The JSON whose triggers replace the project's, and the project file then written (the
    // project itself by default).
    std::optional<std::string> TriggersFile, OutputProject;
    void Declare(CLI::App& verb);
    int Run(const CliStreams& io) const;
};

struct MakeDemoProjectVerb {
    static constexpr const char* Name = "make-demo-project";
    static constexpr const char* Summary = "write the demo project on a base level";
    std::string Project, BaseLevel, OutputLevel;
    void Declare(CLI::App& verb);
    int Run(const CliStreams& io) const;
};

struct BuildVerb {
    static constexpr const char* Name = "build";
    static constexpr const char* Summary = "build the project's level file";
    std::string Project;
    // Each given file replaces the one in the project's settings.
    std::optional<std::string> BaseLevel, ItemsTable, MeshesFile, ScriptFile, OutputLevel;
    // Any error message of the build (a script error, a side file not merged) makes the exit code
    // 1, although such a build still writes its level.
    bool Strict = false;
    bool AutoPortals = false; // every room's portal views are made from its doorways first
    // A program line that plays the level once it is written ("{level}" for its path).
    std::optional<std::string> Play;
    void Declare(CLI::App& verb);
    int Run(const CliStreams& io) const;
};

struct CheckVerb {
    static constexpr const char* Name = "check";
    static constexpr const char* Summary = "report what would break a level in the game";
    std::string Level;
    bool AsJson = false; // a JSON array of the findings instead of text lines
    void Declare(CLI::App& verb);
    int Run(const CliStreams& io) const;
};

struct ImportVerb {
    static constexpr const char* Name = "import";
    static constexpr const char* Summary = "make a project of a level's rooms";
    std::string Level, Project;
    void Declare(CLI::App& verb);
    int Run(const CliStreams& io) const;
};

} // namespace morvane
