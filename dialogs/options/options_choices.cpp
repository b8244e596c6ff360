#include "dialogs/options/options_choices.h"

#include <cstdio>
#include <cstring>

#include "core/base/text_compare.h"
#include "core/base/global_options.h"
#include "dialogs/controls/parsed_text.h"
#include "services/settings/global_options.h"

namespace {

const uint8_t kAutoMinutes[kAutoMinutesChoiceCount] = {0, 1, 2, 3, 5, 10, 15, 20, 25, 30, 45, 60};

constexpr int kXmlChoice = 0;
constexpr int kManualChoice = 1;

}  // namespace

const char* const kUpdateChoiceTexts[kUpdateChoiceCount] = {"Automatically", "Manually"};
const char* const kFileFormatChoiceTexts[kFileFormatChoiceCount] = {"XML", "Binary"};
const char* const kEnterChoiceTexts[kEnterChoiceCount] = {
    "(No action)", "Move down by one cell", "Move down to the next non-empty cell", "Move right by one cell",
    "Move right to the next non-empty cell"};

uint8_t MinutesOfAutoChoice(int choice) {
  return choice >= 0 && choice < kAutoMinutesChoiceCount ? kAutoMinutes[choice] : 0;
}

int AutoChoiceOfMinutes(uint8_t minutes) {
  int choice = 0;
  while (choice + 1 < kAutoMinutesChoiceCount && kAutoMinutes[choice + 1] <= minutes) ++choice;
  return choice;
}

void FormatAutoChoice(int choice, char* out, size_t size) {
  const uint8_t minutes = MinutesOfAutoChoice(choice);
  if (minutes == 0) {
    std::snprintf(out, size, "Never");
  } else if (minutes == 1) {
    std::snprintf(out, size, "After 1 min (of inactivity)");
  } else {
    std::snprintf(out, size, "After %d mins", minutes);
  }
}

int UpdateChoiceOfMode(uint8_t updateMode) {
  return updateMode == kUpdateManual || updateMode == kUpdateManualActiveSheet ? kManualChoice : 0;
}

uint8_t UpdateModeOfChoice(int choice) { return choice == kManualChoice ? kUpdateManual : kUpdateAutomatic; }

int FileFormatChoiceOfFormat(uint8_t saveFormat) {
  return saveFormat == kSaveFormatUnset || saveFormat == kSaveFormatBinary ? 1 : kXmlChoice;
}

uint8_t FileFormatOfChoice(int choice) { return choice == kXmlChoice ? kSaveFormatXml : kSaveFormatBinary; }

bool ReadOptionNumber(const char* text, int minimum, int maximum, uint8_t* value) {
  int32_t number = 0;
  if (ReadParsedInteger(text, minimum, maximum, &number) != kFieldValue) return false;
  *value = static_cast<uint8_t>(number);
  return true;
}

int FaceInsertIndex(const char* face, int count, FaceAt faceAt, void* list) {
  const size_t length = std::strlen(face);
  for (int i = 0; i < count; ++i) {
    const char* listed = faceAt(list, i);
    const int order = CompareTextIgnoringCase(listed, std::strlen(listed), face, length);
    if (order == 0) return -1;
    if (order > 0) return i;
  }
  return count;
}

int FindFaceByPrefix(const char* name, int count, FaceAt faceAt, void* list) {
  const size_t length = std::strlen(name);
  for (int i = 0; i < count; ++i) {
    const char* listed = faceAt(list, i);
    const size_t listedLength = std::strlen(listed);
    if (listedLength >= length && CompareTextIgnoringCase(listed, length, name, length) == 0) return i;
  }
  return -1;
}
