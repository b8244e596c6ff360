#ifndef TALVERO_CORE_RESULT_CHECK_H
#define TALVERO_CORE_RESULT_CHECK_H

// The check every numeric result passes: infinities, NaNs and non-zero
// magnitudes below the smallest normal number become "#NUM!". A NaN must
// never reach a cell or a file, where it would compare unequal to itself and
// print differently on every runtime.

bool IsBadNumber(double x);
bool IsBadFloat(float x);

#endif
