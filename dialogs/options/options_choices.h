#ifndef TALVERO_DIALOGS_OPTIONS_CHOICES_H
#define TALVERO_DIALOGS_OPTIONS_CHOICES_H

// What the options dialog shows of the options and what it stores back:
// the minutes offered for auto-save and auto-close, the items of the
// updating and file-format combos, the numbers typed into its fields, and
// the font list kept in order without a face twice.

#include <cstddef>
#include <cstdint>

// "Never", then after 1, 2, 3, 5, 10, 15, 20, 25, 30, 45 and 60 minutes.
constexpr int kAutoMinutesChoiceCount = 12;
uint8_t MinutesOfAutoChoice(int choice);
// The last choice whose minutes do not exceed the option's.
int AutoChoiceOfMinutes(uint8_t minutes);
// "Never", "After 1 min (of inactivity)", "After 2 mins" ...
void FormatAutoChoice(int choice, char* out, size_t size);

// The updating combo: item 0 "Automatically", 1 "Manually".
constexpr int kUpdateChoiceCount = 2;
extern const char* const kUpdateChoiceTexts[kUpdateChoiceCount];
int UpdateChoiceOfMode(uint8_t updateMode);
uint8_t UpdateModeOfChoice(int choice);

// The file-format combo: item 0 "XML", 1 "Binary".
constexpr int kFileFormatChoiceCount = 2;
extern const char* const kFileFormatChoiceTexts[kFileFormatChoiceCount];
int FileFormatChoiceOfFormat(uint8_t saveFormat);
uint8_t FileFormatOfChoice(int choice);

// The Enter combo, numbered as WhenEnterPressed.
constexpr int kEnterChoiceCount = 5;
extern const char* const kEnterChoiceTexts[kEnterChoiceCount];

// A number typed into one of the dialog's fields: the whole text a decimal
// number within the bounds as typed. False for anything else.
bool ReadOptionNumber(const char* text, int minimum, int maximum, uint8_t* value);

// The font list as the dialog keeps it: names in ascending order, letter
// case aside. Where a face goes (before the first listed name that compares
// greater), or -1 when the face is listed already.
using FaceAt = const char* (*)(void* list, int index);
int FaceInsertIndex(const char* face, int count, FaceAt faceAt, void* list);
// The first listed face that begins with the name, letter case aside; -1
// when none does.
int FindFaceByPrefix(const char* name, int count, FaceAt faceAt, void* list);

#endif
