#include "support/test_files.h"

#include "script/script.h"
#include "script/trscript.h"

#include <gtest/gtest.h>

#include <cstdio>

namespace morvane {
namespace {

struct Parsed {
    std::string Name;
    std::vector<int32_t> Params;
};

Parsed Parse(const std::string& line, TScriptState& state) {
    Parsed p;
    EXPECT_EQ(ParseScriptCommand(line, state, p.Name), ParseResult::Parsed) << line;
    for (int i = 1; i <= state.ScriptParamCount; ++i) {
        p.Params.push_back(state.Param(i));
    }
    return p;
}

TEST(ParseScriptCommand, BlanksCaseAndTheClosingParenthesis) {
    TScriptState state;
    for (const char* line : {"Item(5)", "item(5)", " ITEM ( 5 ) ", "Item(5)x"}) {
        Parsed p = Parse(line, state);
        EXPECT_EQ(p.Name, "ITEM") << line;
        EXPECT_EQ(p.Params, std::vector<int32_t>{5}) << line;
    }
    EXPECT_EQ(Parse("Item 5", state).Name, "") << "no parentheses, no name";
    EXPECT_EQ(Parse("End()", state).Params.size(), 0u);
    EXPECT_EQ(Parse("Put_Item(1,-2,+3,)", state).Params, (std::vector<int32_t>{1, -2, 3}))
        << "an empty last parameter is not counted";

    Parse("A(7,8,9)", state);
    Parsed open = Parse("B(1,2", state);
    EXPECT_EQ(open.Name, "") << "no closing parenthesis";
    EXPECT_EQ(state.ScriptParamCount, 0);
    EXPECT_EQ(state.Param(1), 1) << "parameters read before the missing parenthesis stay";
    EXPECT_EQ(state.Param(3), 9) << "and later positions keep earlier lines' values";
}

TEST(ParseScriptCommand, ParametersThatAreNotIntegers) {
    TScriptState state;
    std::string name;
    for (const char* line :
         {"Item(x)", "Item(,5)", "Item(5),x", "Item(1.5)", "Item(99999999999)"}) {
        EXPECT_THROW(ParseScriptCommand(line, state, name), ScriptValueError) << line;
    }
    try {
        ParseScriptCommand("Item(1,2a,3)", state, name);
        FAIL();
    } catch (const ScriptValueError& e) {
        EXPECT_STREQ(e.what(), "'2A' is not a valid integer value");
    }
    std::string many = "Item(";
    for (int i = 0; i < 101; ++i) {
        many += "1,";
    }
    many += "1)";
    EXPECT_EQ(ParseScriptCommand(many, state, name), ParseResult::TooManyParameters);
}

TEST(ScriptLineReader, SkipsBlankAndCommentLinesButCountsThem) {
    test::TempDir dir;
    const std::string text = "\t  \n; Item(5)\r\n  Item(5)  \r\n\n;x\nEnd()";
    test::WriteFileBytes(dir.Path("s.scp"), test::Bytes(text.begin(), text.end()));
    std::FILE* file = std::fopen(dir.Path("s.scp").c_str(), "rb");
    ScriptLineReader reader(file);
    TScriptState state;
    EXPECT_EQ(reader.ReadScriptLine(state), "Item(5)");
    EXPECT_EQ(state.ScriptLineNumber, 3);
    EXPECT_EQ(reader.ReadScriptLine(state), "End()");
    EXPECT_EQ(state.ScriptLineNumber, 6);
    EXPECT_EQ(reader.ReadScriptLine(state), "");
    EXPECT_EQ(state.ScriptLineNumber, -1);
    std::fclose(file);
}

TEST(FindScriptCommand, IgnoresCaseAndNeedsTheWholeName) {
    EXPECT_EQ(FindScriptCommand("START_TRIGGER"), 0);
    EXPECT_EQ(ScriptCommandAt(FindScriptCommand("end")).Code, 12);
    EXPECT_EQ(ScriptCommandAt(FindScriptCommand("IF_ITEM_IS_ON_DO_WITH_ACTIVATE")).Code, 6);
    EXPECT_EQ(FindScriptCommand("End_"), -1);
    EXPECT_EQ(FindScriptCommand(""), -1);
}

} // namespace
} // namespace morvane
