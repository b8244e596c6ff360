#ifndef TALVERO_NUMERICS_KEPT_ROOT_PROGRAM_H
#define TALVERO_NUMERICS_KEPT_ROOT_PROGRAM_H

#include <cstdint>

#include "numerics/formula_solvers.h"

// Keeps a root search's compiled target, its cells taken at the tokens
// cellTokens names. Only a search the kept program could not take compiles:
// the same text then meets its variable at other references (an absolute
// one, say), and the latest program serves the rows that follow.
void KeepRootProgram(const SolverTarget& target, const uint16_t* cellTokens);

#endif
