// The command line: splitting into names, the agent's "R", and when a
// command line counts as empty.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/shell/command_line.h"

namespace qv {
namespace {

struct SplitCase {
  const char* label;
  std::u16string text;
  std::vector<std::u16string> names;
};

class SplitCommandLineTest : public ::testing::TestWithParam<SplitCase> {};

TEST_P(SplitCommandLineTest, GivesTheNames) { EXPECT_EQ(SplitCommandLine(GetParam().text), GetParam().names); }

INSTANTIATE_TEST_SUITE_P(
    Cases, SplitCommandLineTest,
    ::testing::Values(
        SplitCase{"Empty", u"", {}},
        SplitCase{"OneBare", u"C:\\a.mp3", {u"C:\\a.mp3"}},
        SplitCase{"QuotedWithBlankThenBare", u"\"C:\\My Music\\a b.mp3\" C:\\c.wav",
                  {u"C:\\My Music\\a b.mp3", u"C:\\c.wav"}},
        SplitCase{"TwoBlanksBetweenBareNames", u"a.mp3  b.mp3", {u"a.mp3", u"b.mp3"}},
        SplitCase{"ThreeBlanksEndTheList", u"a.mp3   b.mp3", {u"a.mp3"}},
        SplitCase{"QuoteRightAfterQuotedNameIsSkipped", u"\"a b\"\"c d\"", {u"a b", u"c", u"d\""}},
        SplitCase{"DoubledQuoteAfterName", u"\"a b\"\" c\"", {u"a b", u"c\""}},
        SplitCase{"UnclosedQuoteRunsToTheEnd", u"\"a b c", {u"a b c"}},
        SplitCase{"EmptyQuotesEndTheList", u"\"\" a.mp3", {}},
        SplitCase{"LeadingBlankEndsTheList", u" a.mp3", {}},
        SplitCase{"TrailingBlankIgnored", u"a.mp3 ", {u"a.mp3"}},
        SplitCase{"AgentRestartIsAName", u"R", {u"R"}}),
    [](const auto& info) { return std::string(info.param.label); });

TEST(CommandLineKinds, OnlyExactRIsTheAgentRestart) {
  EXPECT_TRUE(IsAgentRestart(u"R"));
  for (const char16_t* other : {u"", u"r", u"R ", u" R", u"RR", u"\"R\""}) EXPECT_FALSE(IsAgentRestart(other));
}

TEST(CommandLineKinds, RestartAndBlankTextsNameNothing) {
  // "R" and lines that split into nothing load the default playlist instead.
  EXPECT_FALSE(HasCommandLineNames(u""));
  EXPECT_FALSE(HasCommandLineNames(u"R"));
  EXPECT_FALSE(HasCommandLineNames(u"   "));
  EXPECT_FALSE(HasCommandLineNames(u"\"\""));
  EXPECT_TRUE(HasCommandLineNames(u"a.mp3"));
  EXPECT_TRUE(HasCommandLineNames(u"\"R\""));  // a file named R in quotes
  EXPECT_TRUE(HasCommandLineNames(u"R S"));
}

}  // namespace
}  // namespace qv
