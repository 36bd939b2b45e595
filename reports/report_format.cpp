#include "reports/report_format.h"

#include "common/cformat.h"

namespace quorvane {

std::string formatValue(double value, int digits) {
    return compactExponent(cformat("%.*g", digits, value));
}

std::string reportFieldNumber(double value, int digits) {
    return cformat("%.*g\n", digits, value);
}

std::string escapeHtml(const std::string& text) {
    std::string out;
    out.reserve(text.size());
    for (char c : text) {
        switch (c) {
            case '<':
                out += "&lt;";
                break;
            case '>':
                out += "&gt;";
                break;
            case '&':
                out += "&amp;";
                break;
            case '"':
                out += "&quot;";
                break;
            case '\'':
                out += "&#39;";
                break;
            default:
                out += c;
        }
    }
    return out;
}

}  // namespace quorvane
