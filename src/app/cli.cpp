#include "app/cli.h"

#include "app/cli_verbs.h"
#include "io/io_error.h"
#include "version.h"

#include <CLI/CLI.hpp>

#include <algorithm>
#include <functional>
#include <memory>

namespace morvane {

namespace {

// One verb of the tool: its parser and the run of its parsed arguments.
struct VerbEntry {
    CLI::App* Parser;
    std::function<int(const CliStreams&)> Run;
};

template <class Verb> void AddVerb(CLI::App& tool, std::vector<VerbEntry>& verbs) {
    auto verb = std::make_shared<Verb>();
    CLI::App* parser = tool.add_subcommand(Verb::Name, Verb::Summary);
    verb->Declare(*parser);
    verbs.push_back({parser, [verb](const CliStreams& io) { return verb->Run(io); }});
}

} // namespace

int RunCli(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    CLI::App tool("Headless tools of Morvane3D: level files, projects and level builds.",
                  "morvane3d-cli");
    tool.set_help_flag("-h,--help", "print this help and exit");
    tool.set_version_flag("--version", std::string("morvane3d-cli ") + MorvaneVersion,
                          "print the program's version and exit");
    tool.require_subcommand(1, 1);
    // Arguments that fit nowhere are reported by RunCli, so that an unknown option is named even
    // when a required argument is missing too. The verbs take this over.
    tool.allow_extras();
    // An option given twice takes its last value.
    tool.option_defaults()->multi_option_policy(CLI::MultiOptionPolicy::TakeLast);

    std::vector<VerbEntry> verbs;
    AddVerb<InfoVerb>(tool, verbs);
    AddVerb<RewriteVerb>(tool, verbs);
    AddVerb<MakeDemoLevelVerb>(tool, verbs);
    AddVerb<ProjectInfoVerb>(tool, verbs);
    AddVerb<ObjectsVerb>(tool, verbs);
    AddVerb<TriggersVerb>(tool, verbs);
    AddVerb<MakeDemoProjectVerb>(tool, verbs);
    AddVerb<BuildVerb>(tool, verbs);
    AddVerb<CheckVerb>(tool, verbs);
    AddVerb<ImportVerb>(tool, verbs);
    // Set after the verbs, which would take it over.
    tool.footer("Each verb prints its arguments with: morvane3d-cli VERB --help");

    // A usage mistake: the message, then the usage of the verb when one was named, of the tool
    // otherwise.
    const auto badUsage = [&](const std::string& message) {
        err << message << '\n' << tool.help();
        return CliUsage;
    };
    if (!args.empty() && !args[0].empty() && args[0][0] != '-' &&
        !std::any_of(verbs.begin(), verbs.end(),
                     [&](const VerbEntry& verb) { return verb.Parser->get_name() == args[0]; })) {
        return badUsage("unknown command \"" + args[0] + "\"");
    }
    std::string parseError;
    try {
        // The parser takes the arguments last first.
        tool.parse(std::vector<std::string>(args.rbegin(), args.rend()));
    } catch (const CLI::CallForHelp&) {
        out << tool.help();
        return CliDone;
    } catch (const CLI::CallForVersion& e) {
        out << e.what() << '\n';
        return CliDone;
    } catch (const CLI::ParseError& e) {
        parseError = e.what();
    }
    // The parser keeps a "--" (which ends the options) among the arguments it did not take.
    std::vector<std::string> extras = tool.remaining(true);
    std::erase(extras, "--");
    if (!extras.empty()) {
        const std::string& first = extras.front();
        return badUsage(first.size() > 1 && first[0] == '-'
                            ? "unknown option \"" + first + "\""
                            : "unexpected argument \"" + first + "\"");
    }
    if (!parseError.empty()) {
        return badUsage(parseError);
    }

    const auto chosen = std::find_if(verbs.begin(), verbs.end(),
                                     [](const VerbEntry& verb) { return verb.Parser->parsed(); });
    try {
        return chosen->Run(CliStreams{out, err});
    } catch (const CliUsageError& e) {
        return badUsage(e.Text);
    } catch (const IoError& e) {
        err << e.what() << '\n';
        return CliFailed;
    }
}

} // namespace morvane
