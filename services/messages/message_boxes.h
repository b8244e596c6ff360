#ifndef TALVERO_APP_MESSAGE_BOXES_H
#define TALVERO_APP_MESSAGE_BOXES_H

// The message boxes through which every subsystem reports: no owner window,
// task-modal (they stop input to all of the program's windows), captioned
// with the product title. They go through the window layer's replaceable
// message-box function, so tests answer them.

#include <windows.h>

// The product title, string-table entry 127, into title.
void LoadProductTitle(char* title, int size);
// An error code's text with the exclamation icon and an OK button.
void ShowError(int code);
// The same with "\nLine: <line>" after the text, for the XML readers' codes.
void ShowErrorWithLine(int code, int line);
// A given text in the same box.
void ShowMessage(const char* text);
// A string-table entry with the caller's buttons and icon; returns the button.
int ShowMessageRes(UINT stringId, UINT flags);
// The same for an entry that takes one number ("%1!d!").
int ShowMessageResNumber(UINT stringId, int number, UINT flags);

#endif
