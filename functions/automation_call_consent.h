#ifndef TALVERO_FUNCTIONS_AUTOMATION_CALL_CONSENT_H
#define TALVERO_FUNCTIONS_AUTOMATION_CALL_CONSENT_H

// Whether a formula may create and call another program's automation object
// (RTD and UDF). Such a call runs any registered program, here or on a named
// computer, as soon as the formula is recalculated; a workbook read from a
// file may have come from anyone, so its user is asked once, at its first
// call, naming the programs its formulas call. The answer holds for the
// document until it is read again. Documents made in this session and those
// created through the automation server call freely; a document an
// automation client loaded from a file never calls (no one is there to
// ask), except in the formulas the client itself put in (PutFormula).

#include <cstddef>

#include "core/formula/eval_state.h"

class CWorkBook;

// Puts the question to the user; true for yes. The program installs one that
// shows a message box; without one every question is answered no.
using AutomationCallQuestion = bool (*)(const char* text);
// Returns the previous one; null removes it.
AutomationCallQuestion SetAutomationCallQuestion(AutomationCallQuestion question);

// Room for the question's text, its NUL included.
constexpr size_t kAutomationQuestionCapacity = 2048;

// The programs the workbook's formulas call, one per line: the ProgID being
// called first, then every other ProgID written as the first argument of an
// RTD or UDF call, each once (letter case aside). Names that no longer fit
// the capacity are left out, with a line "..." in their place. Returns the
// number of names listed.
size_t ListAutomationProgIds(const CWorkBook& book, const char* progId, char* out, size_t capacity);

// The question about the workbook's calls, naming its file and the programs.
void ComposeAutomationQuestion(const CWorkBook& book, const char* progId, char* out, size_t capacity);

// True when the formula being evaluated may call the object of progId; the
// first call of a document read from a file asks the user (the document
// counts as refused while the question is open).
bool AutomationCallAllowed(EvalState& state, const char* progId);

#endif
