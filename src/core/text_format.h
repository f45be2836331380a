// printf-style formatting that never depends on the process locale.
#pragma once

#include <cstdarg>
#include <string>

namespace tolvane {

// Appends `format` with its arguments to `out`. Understands the conversions %d %i %u %x %s %c
// %f and %%, with the flags "-" and "0", a field width and a precision; arguments are passed as
// printf takes them (int, unsigned, double, const char*). The decimal point is always ".".
void append_format(std::string& out, const char* format, ...) __attribute__((format(printf, 2, 3)));
void append_format_v(std::string& out, const char* format, std::va_list args);

std::string format_text(const char* format, ...) __attribute__((format(printf, 1, 2)));

}  // namespace tolvane
