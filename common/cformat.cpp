#include "common/cformat.h"

#include <locale.h>

#include <cerrno>
#include <cmath>
#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <limits>
#include <vector>

namespace quorvane {
namespace {

locale_t cLocale() {
    static locale_t loc = newlocale(LC_ALL_MASK, "C", static_cast<locale_t>(0));
    return loc;
}

/// Switches the calling thread to the "C" locale for its lifetime.
class CLocaleScope {
  public:
    CLocaleScope() : previous_(uselocale(cLocale())) {}
    ~CLocaleScope() { uselocale(previous_); }
    CLocaleScope(const CLocaleScope&) = delete;
    CLocaleScope& operator=(const CLocaleScope&) = delete;

  private:
    locale_t previous_;
};

}  // namespace

std::string cformat(const char* format, ...) {
    CLocaleScope scope;
    char small[256];
    va_list args;
    va_start(args, format);
    va_list copy;
    va_copy(copy, args);
    int length = std::vsnprintf(small, sizeof small, format, args);
    va_end(args);
    std::string result;
    if (length < 0) {
        va_end(copy);
        return result;
    }
    if (static_cast<size_t>(length) < sizeof small) {
        result.assign(small, static_cast<size_t>(length));
    } else {
        std::vector<char> big(static_cast<size_t>(length) + 1);
        std::vsnprintf(big.data(), big.size(), format, copy);
        result.assign(big.data(), static_cast<size_t>(length));
    }
    va_end(copy);
    return result;
}

std::string compactExponent(std::string text) {
    for (const char* from : {"e+0", "e-0"}) {
        for (int pass = 0; pass < 2; ++pass) {
            auto at = text.find(from);
            if (at == std::string::npos) break;
            text.erase(at + 2, 1);
        }
    }
    return text;
}

double cAtof(std::string_view text) {
    std::string copy(text);  // strtod needs a terminated string
    return strtod_l(copy.c_str(), nullptr, cLocale());
}

int cAtoi(std::string_view text) {
    std::string copy(text);
    errno = 0;
    long long value = strtoll_l(copy.c_str(), nullptr, 10, cLocale());
    if (value > std::numeric_limits<int>::max()) return std::numeric_limits<int>::max();
    if (value < std::numeric_limits<int>::min()) return std::numeric_limits<int>::min();
    return static_cast<int>(value);
}

bool parseFiniteDouble(std::string_view text, double& out) {
    std::string copy(text);
    const char* begin = copy.c_str();
    char* end = nullptr;
    double value = strtod_l(begin, &end, cLocale());
    if (end == begin) return false;
    while (*end == ' ' || *end == '\t' || *end == '\r' || *end == '\n') ++end;
    if (*end != '\0' || !std::isfinite(value)) return false;
    out = value;
    return true;
}

}  // namespace quorvane
