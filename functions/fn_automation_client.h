#ifndef TALVERO_FUNCTIONS_FN_AUTOMATION_CLIENT_H
#define TALVERO_FUNCTIONS_FN_AUTOMATION_CLIENT_H

// The automation-client functions: RTD reads named properties of an object
// created by its ProgID, UDF calls one of its methods. Every failure to
// create, name or call the object is "#REF!". Only the Windows build talks
// to objects; elsewhere both answer "#REF!" to any call with its three
// positions.

class EvalState;

void FnRtd(EvalState& state);
void FnUdf(EvalState& state);

#endif
