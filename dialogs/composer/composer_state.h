#ifndef TALVERO_DIALOGS_COMPOSER_STATE_H
#define TALVERO_DIALOGS_COMPOSER_STATE_H

// What the formula composer keeps of the call being built: the catalogue
// entry chosen, the parameter being filled, how many parameters the call
// shows and their values; and the texts it builds from them, the template
// of parameter names and the formula of parameter values. The composer
// window only shows these texts and routes its commands here.

#include <cstddef>
#include <cstdint>

#include "functions/function_catalog.h"

// Texts of at most 1024 characters, with their NUL.
constexpr size_t kComposerTextCapacity = 1025;
// A variadic call takes at most this many parameters.
constexpr uint8_t kComposerMaxParameters = 45;

struct ComposerState {
  uint32_t currentFunction;  // index into kFunctionCatalog
  uint8_t currentParameter;  // 0-based
  uint8_t shownParameters;
  // The shown parameters' values one after another, each ended by a NUL; an
  // unfilled parameter is an empty text. The bytes after the last value are 0.
  char values[kComposerTextCapacity];
};

// Function 0, no values, the parameters shown as on opening.
void ResetComposerState(ComposerState* state);

// The parameters a call shows when the composer opens or a category is
// chosen (the declared arguments and one further for a variadic function),
// and when a function is chosen from the list (the declared arguments, at
// least one for a variadic function).
uint8_t ParametersShownOnOpening(const FunctionCatalogEntry& entry);
uint8_t ParametersShownOnChoice(const FunctionCatalogEntry& entry);

// The entry becomes the current function with empty values, the first
// parameter current and the given number of parameters shown.
void ChooseComposerFunction(ComposerState* state, uint32_t index, uint8_t shownParameters);

// The first catalogue entry of a category; entry 0 for "all" and beyond.
uint32_t FirstEntryOfCategory(uint8_t category);
// The entry whose name equals the whole text, letter case aside; false when
// none does.
bool FindCatalogEntry(const char* name, uint32_t* index);

enum class ComposerStep : uint8_t {
  kUnchanged,  // a fixed argument list has no further parameter
  kMoved,
  kRefused,    // a variadic call would pass kComposerMaxParameters
};

// Moves the current parameter on by one, showing one more parameter of a
// variadic call when it passes the shown ones.
ComposerStep NextComposerParameter(ComposerState* state);
// False when the first parameter is current.
bool PreviousComposerParameter(ComposerState* state);

// The current parameter is a declared argument that takes a range or array.
bool ComposerParameterTakesRange(const ComposerState& state);
// The value of a shown parameter; empty for one beyond the values kept.
const char* ComposerParameterValue(const ComposerState& state, uint8_t parameter);
// The current parameter's value becomes text. A value that no longer fits
// the values' 1024 characters (with room for the separators) is dropped.
void SetComposerParameterValue(ComposerState* state, const char* text);

// Where the current parameter stands in a built text; both 0 when it was
// left out.
struct ComposerHighlight {
  size_t start;
  size_t end;
};

// "=name(" with the shown parameters' names separated by ", " and ")": the
// further parameters of a variadic call are named "v1", "v2" ... Parts that
// would make the text reach kComposerTextCapacity characters are left out
// whole. size must be kComposerTextCapacity or more.
ComposerHighlight BuildComposerTemplate(const ComposerState& state, char* out, size_t size);
// The same with the parameters' values: "=atan2(, )" before any is filled.
ComposerHighlight BuildComposerFormula(const ComposerState& state, char* out, size_t size);

// What Insert Formula puts into the formula bar: the whole formula into an
// empty bar or over a selection at its start; without its "=" where the
// selection starts later, so that the call goes into a formula being typed.
const char* ComposerFormulaForBar(const char* formula, bool barEmpty, long selectionStart);

#endif
