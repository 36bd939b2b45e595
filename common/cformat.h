#pragma once
/// Numbers to and from text exactly as the C library writes and reads them in
/// the "C" locale, whatever locale the process runs in: every file the program
/// writes must read the same on every machine.

#include <string>
#include <string_view>

namespace quorvane {

/// std::snprintf into a std::string, evaluated in the "C" locale.
std::string cformat(const char* format, ...) __attribute__((format(printf, 1, 2)));

/// Replaces "e+0" by "e+" and "e-0" by "e-", each twice, so that e-021 reads e-21.
std::string compactExponent(std::string text);

/// atof semantics in the "C" locale: the longest numeric prefix after leading
/// white space; text that is no number gives 0.
double cAtof(std::string_view text);
/// atoi semantics: the leading integer, 0 for none; saturates instead of overflowing.
int cAtoi(std::string_view text);
/// True when the whole text (leading/trailing blanks allowed) is one finite number.
bool parseFiniteDouble(std::string_view text, double& out);

}  // namespace quorvane
