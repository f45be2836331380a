// Number parsing as the C library does it in the "C" locale, whatever the process locale is.
#pragma once

namespace tolvane {

// As atof: leading white space, then the longest prefix that forms a number; 0.0 when none.
double c_atof(const char* text);
// As strtod: `end`, when given, receives the first character after the number, or `text`
// itself when no number was read.
double c_strtod(const char* text, char** end);
// As atoi: leading white space, an optional sign and decimal digits; 0 when none.
int c_atoi(const char* text);

}  // namespace tolvane
