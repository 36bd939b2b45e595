#include "experiments/plan_positions.h"

#include <algorithm>
#include <climits>
#include <cmath>

namespace quorvane {
namespace {

/// a * b + c, or nullopt past the largest long long (all three at least 0).
std::optional<long long> mulAdd(long long a, long long b, long long c) {
    long long product = 0, sum = 0;
    if (__builtin_mul_overflow(a, b, &product) || __builtin_add_overflow(product, c, &sum))
        return std::nullopt;
    return sum;
}

/// How many of the visited values lie at or before `current` in the walking
/// order, less one: the index of the value `current` stands for.
long long rankOf(const std::vector<double>& visited, const parameter& p) {
    long long rank = 0;
    for (std::size_t i = 1; i < visited.size(); ++i) {
        const bool reached = p.direction < 0 ? visited[i] >= p.current : visited[i] <= p.current;
        if (!reached) break;
        rank = static_cast<long long>(i);
    }
    return rank;
}

}  // namespace

std::vector<double> visitedValues(const ExperimentPlan& plan, const parameter& p) {
    // As the odometer steps: to the nearest value strictly beyond the current
    // one, so values that are not numbers are never visited and equal ones once.
    std::vector<double> beyond;
    for (double value : plan.valuesOfKind(p.kind)) {
        const double d = value - p.start;
        if (p.direction < 0 ? d < 0 : d > 0) beyond.push_back(value);
    }
    if (p.direction < 0)
        std::sort(beyond.begin(), beyond.end(), std::greater<double>());
    else
        std::sort(beyond.begin(), beyond.end());
    beyond.erase(std::unique(beyond.begin(), beyond.end()), beyond.end());
    beyond.insert(beyond.begin(), p.start);
    return beyond;
}

std::optional<long long> combinationCount(const ExperimentPlan& plan) {
    long long count = 1;
    for (const parameter& p : plan.parameters()) {
        auto next = mulAdd(count, static_cast<long long>(visitedValues(plan, p).size()), 0);
        if (!next) return std::nullopt;
        count = *next;
    }
    return count;
}

long long currentPosition(const ExperimentPlan& plan) {
    long long position = 0;
    for (const parameter& p : plan.parameters()) {
        const std::vector<double> visited = visitedValues(plan, p);
        auto next = mulAdd(position, static_cast<long long>(visited.size()), rankOf(visited, p));
        if (!next) return LLONG_MAX;
        position = *next;
    }
    return position;
}

bool moveToPosition(ExperimentPlan& plan, long long position) {
    const auto count = combinationCount(plan);
    if (position < 0 || !count || position >= *count) return false;
    // The last parameter turns fastest: its index is the lowest digit.
    const std::vector<parameter> parameters = plan.parameters();
    for (auto p = parameters.rbegin(); p != parameters.rend(); ++p) {
        const std::vector<double> visited = visitedValues(plan, *p);
        const long long size = static_cast<long long>(visited.size());
        plan.setCurrent(p->kind, visited[static_cast<std::size_t>(position % size)]);
        position /= size;
    }
    return true;
}

}  // namespace quorvane
