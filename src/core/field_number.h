// Numbers of NMEA fields converted exactly as c_atof and c_atoi convert them, with a fast path
// for the plain decimals that logs are made of.
#pragma once

namespace tolvane {

// The same value as c_atof(text), bit for bit.
double field_atof(const char* text);
// The same value as c_atoi(text).
int field_atoi(const char* text);

}  // namespace tolvane
