#ifndef TALVERO_CORE_RESULT_CHECK_H
#define TALVERO_CORE_RESULT_CHECK_H

// The check every numeric result passes: infinities and non-zero magnitudes
// below the smallest normal number become "#NUM!". A NaN passes, as it always
// has; callers that must refuse it test for it themselves.

bool IsBadNumber(double x);
bool IsBadFloat(float x);

#endif
