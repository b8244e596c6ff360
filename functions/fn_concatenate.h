#ifndef TALVERO_FUNCTIONS_FN_CONCATENATE_H
#define TALVERO_FUNCTIONS_FN_CONCATENATE_H

// CONCATENATE(text, ...): the texts of its arguments joined in order; a
// range or array argument gives its cells' texts in storage order. Joined
// texts longer than 1024 characters are "#VALUE!"; the largest error among
// the arguments and their cells wins.

class EvalState;

void FnConcatenate(EvalState& state);

#endif
