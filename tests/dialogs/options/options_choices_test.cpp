#include "dialogs/options/options_choices.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/base/global_options.h"
#include "services/settings/global_options.h"

namespace {

std::string AutoText(uint8_t minutes) {
  char text[64];
  FormatAutoChoice(AutoChoiceOfMinutes(minutes), text, sizeof text);
  return text;
}

TEST(OptionsChoices, AutoMinutesOpenOnTheLastChoiceNotAboveTheOption) {
  const std::pair<uint8_t, const char*> cases[] = {
      {0, "Never"}, {1, "After 1 min (of inactivity)"}, {4, "After 3 mins"}, {44, "After 30 mins"},
      {60, "After 60 mins"}, {255, "After 60 mins"}};
  for (const auto& c : cases) EXPECT_EQ(c.second, AutoText(c.first)) << int(c.first);
  for (int choice = 0; choice < kAutoMinutesChoiceCount; ++choice)
    EXPECT_EQ(choice, AutoChoiceOfMinutes(MinutesOfAutoChoice(choice)));
}

TEST(OptionsChoices, UpdateModeAndFileFormatMapToTheirCombos) {
  const std::pair<uint8_t, uint8_t> modes[] = {{0, kUpdateAutomatic},
                                               {kUpdateAutomatic, kUpdateAutomatic},
                                               {kUpdateAutomaticActiveSheet, kUpdateAutomatic},
                                               {kUpdateManual, kUpdateManual},
                                               {kUpdateManualActiveSheet, kUpdateManual},
                                               {9, kUpdateAutomatic}};
  for (const auto& m : modes) EXPECT_EQ(m.second, UpdateModeOfChoice(UpdateChoiceOfMode(m.first))) << int(m.first);
  EXPECT_STREQ("Manually", kUpdateChoiceTexts[UpdateChoiceOfMode(kUpdateManualActiveSheet)]);
  const std::pair<uint8_t, uint8_t> formats[] = {{0, kSaveFormatXml},
                                                 {kSaveFormatXml, kSaveFormatXml},
                                                 {3, kSaveFormatXml},
                                                 {kSaveFormatUnset, kSaveFormatBinary},
                                                 {kSaveFormatBinary, kSaveFormatBinary}};
  for (const auto& f : formats) EXPECT_EQ(f.second, FileFormatOfChoice(FileFormatChoiceOfFormat(f.first))) << int(f.first);
  EXPECT_STREQ("Binary", kFileFormatChoiceTexts[FileFormatChoiceOfFormat(kSaveFormatUnset)]);
}

TEST(OptionsChoices, NumbersAreTakenOnlyWithinTheirBoundsAsTyped) {
  const std::pair<const char*, int> cases[] = {{"2", 2},  {"200", 200}, {"1", -1},  {"201", -1},
                                               {"258", -1}, {"", -1},   {"5x", -1}, {"-3", -1}};
  for (const auto& c : cases) {
    uint8_t value = 99;
    EXPECT_EQ(c.second >= 0, ReadOptionNumber(c.first, kMinUndoLevel, kMaxUndoLevel, &value)) << c.first;
    EXPECT_EQ(c.second >= 0 ? c.second : 99, value) << c.first;
  }
}

const char* VectorFace(void* list, int index) {
  return (*static_cast<std::vector<std::string>*>(list))[index].c_str();
}

TEST(OptionsChoices, FontListKeepsEachFaceOnceInOrder) {
  // As the system enumerates them: one entry per character set.
  const char* enumerated[] = {"Tahoma", "Arial", "arial", "Courier New", "Arial Black", "Tahoma", "Arial",
                              "Wingdings", "courier new"};
  std::vector<std::string> list;
  for (const char* face : enumerated) {
    const int index = FaceInsertIndex(face, static_cast<int>(list.size()), VectorFace, &list);
    if (index >= 0) list.insert(list.begin() + index, face);
  }
  EXPECT_EQ((std::vector<std::string>{"Arial", "Arial Black", "Courier New", "Tahoma", "Wingdings"}), list);
  const int count = static_cast<int>(list.size());
  EXPECT_EQ(0, FindFaceByPrefix("arial", count, VectorFace, &list));
  EXPECT_EQ(2, FindFaceByPrefix("Cour", count, VectorFace, &list));
  EXPECT_EQ(-1, FindFaceByPrefix("Times", count, VectorFace, &list));
}

}  // namespace
