#ifndef TALVERO_CORE_FORMAT_COLORS_H
#define TALVERO_CORE_FORMAT_COLORS_H

// The sixteen named colours of format codes ("[red]") and of colour
// attributes in files, and the "#RRGGBB" form. Colours are 0x00BBGGRR.

#include <cstddef>
#include <cstdint>

// A colour at the start of the text: "#" and six hexadecimal digits (either
// case), or a name compared without regard to case over the name's own length
// ("Redish" is red). Returns the number of characters read, 0 for none.
size_t ReadColorAt(const char* text, uint32_t* colour);
// True when the text begins with a colour as above.
bool ParseColorName(const char* text, uint32_t* colour);
// A colour's name when byName is set and it has one, else "#RRGGBB".
// False, with an empty buffer, when it does not fit.
bool ColorToName(char* buffer, size_t size, uint32_t colour, bool byName);

#endif
