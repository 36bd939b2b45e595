#include "reports/report_format.h"

#include "common/cformat.h"

namespace quorvane {

std::string formatValue(double value, int digits) {
    return compactExponent(cformat("%.*g", digits, value));
}

std::string reportFieldNumber(double value, int digits) {
    return cformat("%.*g\n", digits, value);
}

}  // namespace quorvane
