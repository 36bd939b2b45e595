// Which parameters a study varied, and where a log row gives their values.

#include <map>
#include <set>

#include "experiments/study.h"

namespace quorvane {
namespace {

struct ColumnInfo {
    const char* column;
    const char* symbol;
    const char* meaning;
};

/// The log columns a study may vary, the theory's own dimensionless numbers
/// first: when a temperature moves them too, the chart is drawn against them.
constexpr ColumnInfo kColumns[] = {
    {"dG", "ΔG′", "general supercooling"},
    {"Sm", "σ′", "specific surface energy"},
    {"a", "a", "molecule axis a"},
    {"b", "b", "molecule axis b"},
    {"c", "c", "molecule axis c"},
    {"Sedg", "edges/faces", "weight of edges relative to faces"},
    {"Svrt", "vertices/faces", "weight of vertices relative to faces"},
    {"T", "T", "temperature"},
    {"Surf.energy", "σ", "surface energy"},
    {"dH", "ΔH", "enthalpy per volume"},
    {"Co", "C", "concentration"},
    {"N horznt.", "W", "field width"},
    {"N vert.", "H", "field height"},
};

/// What a general experiment draws, in the order it draws them.
constexpr const char* kDrawnColumns[] = {"a", "b", "c", "Sedg", "Svrt", "dG", "Sm"};

/// The log column each plan kind sets (kinds 6 to 8 are computed from the axes).
constexpr const char* kKindColumns[kPlanKindCount] = {
    "dG", "Sm", "dH", "Surf.energy", "T", "Co", nullptr, nullptr, nullptr, "Sedg", "Svrt"};

StudyParameter computed(const StudyLog& log, const char* key, const char* symbol,
                        const char* meaning, const char* unit) {
    StudyParameter p;
    p.key = key;
    p.symbol = symbol;
    p.meaning = meaning;
    p.unit = unit;
    p.column = log.column("a");
    return p;
}

std::set<double> valuesOf(const StudyLog& log, const std::vector<std::size_t>& results,
                          const StudyParameter& p) {
    std::set<double> values;
    for (std::size_t i : results) values.insert(p.valueIn(log.rows[i]));
    return values;
}

/// True when the values of `chosen` fix the value of `candidate` in every result.
/// Draws at random are all different, so one drawn value "fixes" every other:
/// a single parameter must fix the candidate as a plan's quantity fixes what
/// follows from it, rising or falling with it all along (a temperature its
/// supercooling).
bool determinedBy(const StudyLog& log, const std::vector<std::size_t>& results,
                  const std::vector<StudyParameter>& chosen, const StudyParameter& candidate) {
    std::map<std::vector<double>, double> seen;
    for (std::size_t i : results) {
        std::vector<double> key;
        for (const StudyParameter& p : chosen) key.push_back(p.valueIn(log.rows[i]));
        const auto [at, added] = seen.emplace(std::move(key), candidate.valueIn(log.rows[i]));
        if (!added && at->second != candidate.valueIn(log.rows[i])) return false;
    }
    if (chosen.size() != 1) return true;
    bool rises = true, falls = true;
    for (auto at = seen.begin(), next = std::next(at); next != seen.end(); ++at, ++next) {
        rises = rises && next->second >= at->second;
        falls = falls && next->second <= at->second;
    }
    return rises || falls;
}

bool determinesAll(const StudyLog& log, const std::vector<std::size_t>& results,
                   const std::vector<StudyParameter>& chosen,
                   const std::vector<StudyParameter>& varying) {
    for (const StudyParameter& p : varying)
        if (!determinedBy(log, results, chosen, p)) return false;
    return true;
}

/// Of a grid, at least half the combinations have run (a stopped plan is still
/// a plan); draws at random fill a vanishing part of the grid of their values.
bool looksLikeGrid(const StudyLog& log, const std::vector<std::size_t>& results,
                   const std::vector<StudyParameter>& parameters) {
    double product = 1;
    std::set<std::vector<double>> combinations;
    for (const StudyParameter& p : parameters) product *= double(valuesOf(log, results, p).size());
    for (std::size_t i : results) {
        std::vector<double> key;
        for (const StudyParameter& p : parameters) key.push_back(p.valueIn(log.rows[i]));
        combinations.insert(std::move(key));
    }
    return 2 * double(combinations.size()) > product;
}

/// The first `size` of `varying` (in their order) that span a grid and fix all
/// the rest: a temperature and a surface energy, where sigma' follows both.
std::optional<std::vector<StudyParameter>> gridOf(const StudyLog& log,
                                                  const std::vector<std::size_t>& results,
                                                  const std::vector<StudyParameter>& varying,
                                                  std::size_t size) {
    std::vector<std::size_t> pick(size);
    for (std::size_t k = 0; k < size; ++k) pick[k] = k;
    while (size <= varying.size()) {
        std::vector<StudyParameter> chosen;
        for (std::size_t k : pick) chosen.push_back(varying[k]);
        if (looksLikeGrid(log, results, chosen) && determinesAll(log, results, chosen, varying))
            return chosen;
        std::size_t k = size;  // the next choice of `size` in order
        while (k > 0 && pick[k - 1] == varying.size() - size + k - 1) --k;
        if (k == 0) break;
        ++pick[k - 1];
        for (std::size_t m = k; m < size; ++m) pick[m] = pick[m - 1] + 1;
    }
    return std::nullopt;
}

/// The parameters when nothing says how the study was made: the least that fix
/// every varying column, if they span a grid; none (a general experiment) else.
std::optional<std::vector<StudyParameter>> inferred(const StudyLog& log,
                                                    const std::vector<std::size_t>& results) {
    std::vector<StudyParameter> varying, chosen;
    for (const ColumnInfo& info : kColumns)
        if (const auto p = parameterOfColumn(log, info.column))
            if (valuesOf(log, results, *p).size() > 1) varying.push_back(*p);
    for (const StudyParameter& p : varying)
        if (!determinedBy(log, results, chosen, p)) chosen.push_back(p);
    if (chosen.empty() || looksLikeGrid(log, results, chosen)) return chosen;
    for (std::size_t size = chosen.size(); size <= chosen.size() + 1 && size <= 3; ++size)
        if (auto grid = gridOf(log, results, varying, size)) return grid;
    return std::nullopt;
}

}  // namespace

double StudyParameter::valueIn(const StudyLogRow& row) const {
    if (porousFlag) return row.porous ? 1 : 0;
    auto at = [&row](int column) {
        return column >= 0 && std::size_t(column) < row.values.size()
                   ? row.values[std::size_t(column)]
                   : 0.0;
    };
    double value = at(column);
    if (divisor >= 0) value = at(divisor) != 0 ? value / at(divisor) : 0;
    if (factor >= 0) value *= at(factor) * at(factor2);
    return value;
}

std::string StudyParameter::axisTitle() const {
    return unit.empty() ? symbol : symbol + " (" + unit + ")";
}

std::optional<StudyParameter> parameterOfColumn(const StudyLog& log, const std::string& name) {
    const int column = log.column(name);
    if (column < 0) return std::nullopt;
    StudyParameter p;
    p.key = name;
    p.symbol = name;
    p.column = column;
    p.unit = log.unitOf(name);
    for (const ColumnInfo& info : kColumns) {
        if (name != info.column) continue;
        p.symbol = info.symbol;
        p.meaning = info.meaning;
    }
    return p;
}

std::optional<StudyParameter> parameterOfKind(const StudyLog& log, int kind) {
    if (!isPlanKind(kind)) return std::nullopt;
    if (const char* column = kKindColumns[kind]) return parameterOfColumn(log, column);
    StudyParameter p;
    if (kind == kKindVolume) {
        p = computed(log, "volume", "v", "molecule volume", "nm^3");
        p.factor = log.column("b");
        p.factor2 = log.column("c");
    } else {
        const bool ab = kind == kKindRatioAB;
        p = computed(log, ab ? "a/b" : "c/b", ab ? "a/b" : "c/b",
                     ab ? "ratio of axis a to axis b" : "ratio of axis c to axis b", "");
        if (!ab) p.column = log.column("c");
        p.divisor = log.column("b");
    }
    return p;
}

std::vector<StudyParameter> variedParameters(const StudyLog& log,
                                             const std::vector<std::size_t>& results,
                                             const StudyOrigin& origin, StudyKind& kind) {
    std::vector<StudyParameter> candidates;
    bool general = origin.general;
    if (origin.plan) {
        std::set<int> kinds;
        for (const task& row : *origin.plan)
            if (kinds.insert(row.kind).second)
                if (auto p = parameterOfKind(log, row.kind)) candidates.push_back(*p);
    } else if (auto grid = origin.general ? std::nullopt : inferred(log, results)) {
        candidates = *grid;
    } else {
        general = true;
        for (const char* column : kDrawnColumns)
            if (auto p = parameterOfColumn(log, column)) candidates.push_back(*p);
    }
    std::vector<StudyParameter> varied;
    for (const StudyParameter& p : candidates)
        if (valuesOf(log, results, p).size() > 1) varied.push_back(p);
    StudyParameter porous;
    porous.key = "porous";
    porous.symbol = "holes";
    porous.meaning = "hole defects taken into account (1) or not (0)";
    porous.porousFlag = true;
    if (valuesOf(log, results, porous).size() > 1) varied.push_back(porous);
    kind = varied.empty() ? StudyKind::Single : general ? StudyKind::General : StudyKind::Plan;
    return varied;
}

}  // namespace quorvane
