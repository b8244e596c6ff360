#include "dialogs/composer/composer_state.h"

#include <gtest/gtest.h>

#include <string>

namespace {

struct Built {
  std::string text;
  std::string highlighted;
};

Built Template(const ComposerState& state) {
  char text[kComposerTextCapacity];
  const ComposerHighlight h = BuildComposerTemplate(state, text, sizeof text);
  return {text, std::string(text).substr(h.start, h.end - h.start)};
}

Built Formula(const ComposerState& state) {
  char text[kComposerTextCapacity];
  const ComposerHighlight h = BuildComposerFormula(state, text, sizeof text);
  return {text, std::string(text).substr(h.start, h.end - h.start)};
}

uint32_t EntryNamed(const char* name) {
  uint32_t index = 0;
  EXPECT_TRUE(FindCatalogEntry(name, &index)) << name;
  return index;
}

// The composer after a click on the function in its list.
ComposerState Clicked(const char* name) {
  ComposerState state;
  ResetComposerState(&state);
  const uint32_t index = EntryNamed(name);
  ChooseComposerFunction(&state, index, ParametersShownOnChoice(kFunctionCatalog[index]));
  return state;
}

TEST(ComposerState, FirstOpeningShowsAbsWithItsArgument) {
  ComposerState state;
  ResetComposerState(&state);
  EXPECT_STREQ("abs", kFunctionCatalog[state.currentFunction].name);
  EXPECT_EQ(0u, FirstEntryOfCategory(0));
  EXPECT_EQ("=abs(x)", Template(state).text);
  EXPECT_EQ("x", Template(state).highlighted);
  EXPECT_EQ("=abs()", Formula(state).text);
}

TEST(ComposerState, ShownParametersDependOnHowTheFunctionWasChosen) {
  struct Case {
    const char* name;
    const char* afterClick;
    const char* afterOpening;  // reopened, or its category chosen
  };
  const Case cases[] = {
      {"sum", "=sum(v1)", "=sum(v1)"},
      {"npv", "=npv(rate)", "=npv(rate, v1)"},
      {"pi", "=pi()", "=pi()"},
      {"atan2", "=atan2(x, y)", "=atan2(x, y)"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    ComposerState state = Clicked(c.name);
    EXPECT_EQ(c.afterClick, Template(state).text);
    ChooseComposerFunction(&state, state.currentFunction, ParametersShownOnOpening(kFunctionCatalog[state.currentFunction]));
    EXPECT_EQ(c.afterOpening, Template(state).text);
  }
  EXPECT_EQ("=atan2(, )", Formula(Clicked("atan2")).text);
}

TEST(ComposerState, VariadicCallGrowsToFortyFiveParameters) {
  ComposerState state = Clicked("sum");
  ASSERT_EQ(ComposerStep::kMoved, NextComposerParameter(&state));
  EXPECT_EQ("=sum(v1, v2)", Template(state).text);
  EXPECT_EQ("v2", Template(state).highlighted);
  // The formula keeps its two parameters with the second one current.
  EXPECT_EQ("=sum(, )", Formula(state).text);
  int moves = 1;
  while (NextComposerParameter(&state) == ComposerStep::kMoved && moves < 100) ++moves;
  EXPECT_EQ(44, moves);
  EXPECT_EQ(44, state.currentParameter);
  EXPECT_EQ(45, state.shownParameters);
  EXPECT_EQ("v45", Template(state).highlighted);
  EXPECT_EQ(ComposerStep::kRefused, NextComposerParameter(&state));
  EXPECT_EQ(44, state.currentParameter);
  // Going back shows no fewer parameters.
  EXPECT_TRUE(PreviousComposerParameter(&state));
  EXPECT_EQ("v44", Template(state).highlighted);
  EXPECT_EQ(45, state.shownParameters);
}

TEST(ComposerState, FixedArgumentListStopsAtItsLastArgument) {
  ComposerState pi = Clicked("pi");
  EXPECT_EQ(ComposerStep::kUnchanged, NextComposerParameter(&pi));
  EXPECT_FALSE(PreviousComposerParameter(&pi));
  ComposerState atan2 = Clicked("atan2");
  EXPECT_EQ(ComposerStep::kMoved, NextComposerParameter(&atan2));
  EXPECT_EQ("y", Template(atan2).highlighted);
  EXPECT_EQ(ComposerStep::kUnchanged, NextComposerParameter(&atan2));
  EXPECT_EQ(1, atan2.currentParameter);
}

TEST(ComposerState, ValuesFillTheFormulaOneParameterAtATime) {
  ComposerState state = Clicked("atan2");
  SetComposerParameterValue(&state, "B2");
  NextComposerParameter(&state);
  SetComposerParameterValue(&state, "C3:D4");
  EXPECT_EQ("=atan2(B2, C3:D4)", Formula(state).text);
  EXPECT_EQ("C3:D4", Formula(state).highlighted);
  PreviousComposerParameter(&state);
  SetComposerParameterValue(&state, "1.5");
  EXPECT_EQ("=atan2(1.5, C3:D4)", Formula(state).text);
  // Choosing a function again starts from empty values.
  ChooseComposerFunction(&state, state.currentFunction, 2);
  EXPECT_EQ("=atan2(, )", Formula(state).text);
}

TEST(ComposerState, TextsNeverPassTheirCapacity) {
  ComposerState state = Clicked("sum");
  const std::string long600(600, '1');
  SetComposerParameterValue(&state, long600.c_str());
  NextComposerParameter(&state);
  // A second long value no longer fits beside the first: it is dropped.
  SetComposerParameterValue(&state, long600.c_str());
  EXPECT_EQ(long600, ComposerParameterValue(state, 0));
  EXPECT_STREQ("", ComposerParameterValue(state, 1));
  EXPECT_EQ("=sum(" + long600 + ", )", Formula(state).text);
  // A value too long for the formula is left out of it whole.
  ComposerState one = Clicked("abs");
  SetComposerParameterValue(&one, std::string(1019, '2').c_str());
  EXPECT_EQ("=abs()", Formula(one).text);
  while (NextComposerParameter(&state) == ComposerStep::kMoved) {
  }
  for (uint8_t i = 0; i < state.shownParameters; ++i) EXPECT_STREQ(i == 0 ? long600.c_str() : "", ComposerParameterValue(state, i));
}

TEST(ComposerState, RangeArgumentsFollowTheKindDigits) {
  struct Case {
    const char* name;
    int moves;
    bool range;
  };
  const Case cases[] = {{"mDeterm", 0, true}, {"abs", 0, false}, {"npv", 0, false},
                        {"npv", 1, false},    {"sum", 0, false}, {"countIf", 0, true}, {"countIf", 1, false}};
  for (const Case& c : cases) {
    ComposerState state = Clicked(c.name);
    for (int i = 0; i < c.moves; ++i) NextComposerParameter(&state);
    EXPECT_EQ(c.range, ComposerParameterTakesRange(state)) << c.name << " " << c.moves;
  }
}

TEST(ComposerState, FunctionsAreFoundByTheirWholeNameLetterCaseAside) {
  EXPECT_STREQ("normInv", kFunctionCatalog[EntryNamed("NORMINV")].name);
  EXPECT_LT(EntryNamed("normsDist"), EntryNamed("normInv"));
  uint32_t index = 7;
  EXPECT_FALSE(FindCatalogEntry("norm", &index));
  EXPECT_EQ(7u, index);
  for (uint8_t category = 0; category < kFunctionCategoryAll; ++category)
    EXPECT_EQ(category, kFunctionCatalog[FirstEntryOfCategory(category)].category);
  EXPECT_EQ(0u, FirstEntryOfCategory(kFunctionCategoryAll));
}

TEST(ComposerState, InsertedFormulaDropsItsEqualsSignInsideAFormula) {
  EXPECT_STREQ("=abs(B2)", ComposerFormulaForBar("=abs(B2)", true, 0));
  EXPECT_STREQ("=abs(B2)", ComposerFormulaForBar("=abs(B2)", false, 0));
  EXPECT_STREQ("abs(B2)", ComposerFormulaForBar("=abs(B2)", false, 3));
}

}  // namespace
