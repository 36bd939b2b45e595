#pragma once
/// How the reports print numbers: with the accuracy digits the user chose on
/// the Data panel, in the "C" locale, and with short exponents.

#include <string>

namespace quorvane {

/// `formatValue`: the value with `digits` significant digits ("%.<digits>g"),
/// then "e+0" -> "e+" and "e-0" -> "e-", each twice, so 1.5e+005 reads 1.5e+5.
std::string formatValue(double value, int digits);

/// A number as the full report's placeholders carry it: "%.<digits>g" and a
/// line end, exponents left as the C library writes them.
std::string reportFieldNumber(double value, int digits);

/// A text put into a page as text: "<", ">", "&" and both quotes are written
/// as entities, so that a file name or a typed text never starts markup.
std::string escapeHtml(const std::string& text);

}  // namespace quorvane
