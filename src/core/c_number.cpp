#include "core/c_number.h"

#include <locale.h>
#include <stdlib.h>

namespace tolvane {
namespace {

locale_t c_locale() {
  // Created once and never changed afterwards, so threads may share it.
  static const locale_t locale = newlocale(LC_ALL_MASK, "C", static_cast<locale_t>(0));
  return locale;
}

}  // namespace

double c_atof(const char* text) { return strtod_l(text, nullptr, c_locale()); }

double c_strtod(const char* text, char** end) { return strtod_l(text, end, c_locale()); }

int c_atoi(const char* text) { return static_cast<int>(strtol_l(text, nullptr, 10, c_locale())); }

}  // namespace tolvane
