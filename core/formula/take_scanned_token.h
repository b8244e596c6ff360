#ifndef TALVERO_CORE_TAKE_SCANNED_TOKEN_H
#define TALVERO_CORE_TAKE_SCANNED_TOKEN_H

// Taking a scanned token into an evaluator slot, inline: the replay of kept
// tokens takes one per token of every formula it evaluates.

#include "core/base/error_code.h"
#include "core/formula/eval_state.h"
#include "core/formula/formula_ref_text.h"

inline uint32_t EvalState::TakeScannedToken(const ScannedToken& scanned, const char* base, EvalValue* token) {
  token->Clear();
  token->kind = scanned.kind;
  token->error = scanned.error;
  switch (scanned.kind) {
    case kEvalInvalid:
      status = kEvalStatusSyntax;
      break;
    case kEvalNumber:
      token->number = scanned.number;
      break;
    case kEvalCellRef: {
      token->cell = ScannedTokenCorner(scanned, column, row);
      token->sheet = sheet;
      if (token->cell.flags & kRefOutsideGrid) token->error = kErrorRef;
      break;
    }
    case kEvalText:
      if (!strings.Push(base + scanned.textOffset, scanned.textLength)) {
        token->kind = kEvalEmpty;
        token->error = kErrorValue;
      }
      break;
    case kEvalFunctionCall:
      token->functionIndex = static_cast<uint16_t>(scanned.textLength);
      break;
    default:
      break;
  }
  return token->kind;
}

#endif
