// SPDX-License-Identifier: GPL-3.0-or-later
#include "planning/exact_check.h"

#include <algorithm>
#include <bit>
#include <cstdlib>
#include <limits>

namespace zemo {
namespace {

using Word = std::uint64_t;
constexpr int kWordBits = 64;

// One bit per pair (a, b), 0 <= a <= maxA, 0 <= b <= maxB: row a is a run of 64-bit words. The
// storage only ever grows, so the recursion of the plan search reuses it without allocating.
class PairTable {
public:
    void reset(int maxA, int maxB) {
        maxA_ = maxA;
        maxB_ = maxB;
        words_ = maxB / kWordBits + 1;
        const std::size_t size = static_cast<std::size_t>(maxA + 1) * static_cast<std::size_t>(words_);
        if (bits_.size() < size) bits_.resize(size);
        std::fill(bits_.begin(), bits_.begin() + static_cast<std::ptrdiff_t>(size), Word{0});
        const int tail = (maxB + 1) % kWordBits;
        lastMask_ = tail == 0 ? ~Word{0} : (Word{1} << tail) - 1;
        used_.assign(static_cast<std::size_t>(maxA + 1), 0);
    }
    int maxA() const { return maxA_; }
    int maxB() const { return maxB_; }
    int words() const { return words_; }
    Word lastMask() const { return lastMask_; }
    Word* row(int a) { return bits_.data() + static_cast<std::size_t>(a) * static_cast<std::size_t>(words_); }
    const Word* row(int a) const {
        return bits_.data() + static_cast<std::size_t>(a) * static_cast<std::size_t>(words_);
    }
    void set(int a, int b) {
        row(a)[b / kWordBits] |= Word{1} << (b % kWordBits);
        used_[static_cast<std::size_t>(a)] = 1;
    }
    // Whether row a may hold a pair: rows never reached are skipped (times sharing a factor leave
    // most rows empty).
    bool used(int a) const { return used_[static_cast<std::size_t>(a)] != 0; }
    void markUsed(int a) { used_[static_cast<std::size_t>(a)] = 1; }
    bool test(int a, int b) const { return (row(a)[b / kWordBits] >> (b % kWordBits)) & 1; }
    std::size_t bytes() const { return bits_.capacity() * sizeof(Word); }

private:
    std::vector<Word> bits_;
    std::vector<char> used_;
    int maxA_ = 0, maxB_ = 0, words_ = 1;
    Word lastMask_ = 1;
};

// The lowest set bit of r in [from, to], or -1.
int firstSet(const Word* r, int from, int to) {
    if (from < 0) from = 0;
    if (from > to) return -1;
    int w = from / kWordBits;
    const int last = to / kWordBits;
    Word v = r[w] & (~Word{0} << (from % kWordBits));
    for (;;) {
        if (v != 0) {
            const int b = w * kWordBits + std::countr_zero(v);
            return b <= to ? b : -1;
        }
        if (++w > last) return -1;
        v = r[w];
    }
}

// The highest set bit of r in [from, to], or -1.
int lastSet(const Word* r, int from, int to) {
    if (from < 0) from = 0;
    if (from > to) return -1;
    int w = to / kWordBits;
    const int first = from / kWordBits;
    const int top = to % kWordBits;
    Word v = r[w] & (top == kWordBits - 1 ? ~Word{0} : (Word{1} << (top + 1)) - 1);
    for (;;) {
        if (v != 0) {
            const int b = w * kWordBits + (kWordBits - 1 - std::countl_zero(v));
            return b >= from ? b : -1;
        }
        if (--w < first) return -1;
        v = r[w];
    }
}

std::int64_t sumOf(const std::int32_t* times, int from, int to) {
    std::int64_t sum = 0;
    for (int k = from; k < to; ++k) sum += times[k];
    return sum;
}

// Forward reachability: from what t holds, every CD of times[from..to) goes to side A, to side B
// or stays off the tape. Only the pairs that can still end at a >= needA and b >= needB once the
// range is done are kept up to date (the CDs still to come can only add): rows and words below
// that are never read for a live pair. Rows are updated in place from the top down, so the row a
// CD is added from (a - time) and the words a row is shifted from still hold the previous state.
void addForward(PairTable& t, const std::int32_t* times, int from, int to, std::int64_t needA, std::int64_t needB) {
    std::int64_t reach = 0;                     // no pair has a + b beyond the CDs seen so far
    std::int64_t left = sumOf(times, from, to);  // what the CDs from this one on add at most
    for (int k = from; k < to; ++k) {
        const std::int32_t tk = times[k];
        reach += tk;
        left -= tk;
        if (tk == 0) continue;
        const bool toA = tk <= t.maxA(), toB = tk <= t.maxB();
        if (!toA && !toB) continue;
        const int topRow = static_cast<int>(std::min<std::int64_t>(reach, t.maxA()));
        const int lowRow = static_cast<int>(std::clamp<std::int64_t>(needA - left, 0, t.maxA() + 1));
        const int lowWord = static_cast<int>(std::clamp<std::int64_t>(needB - left, 0, t.maxB()) / kWordBits);
        const int ws = tk / kWordBits, bs = tk % kWordBits;
        for (int a = topRow; a >= lowRow; --a) {
            const Word* s = (toA && a >= tk && t.used(a - tk)) ? t.row(a - tk) : nullptr;
            if (!s && !t.used(a)) continue;
            t.markUsed(a);
            Word* r = t.row(a);
            const int endWord = static_cast<int>(std::min<std::int64_t>(reach - a, t.maxB()) / kWordBits) + 1;
            const int shiftFrom = toB ? std::max(ws, lowWord) : endWord;
            for (int j = endWord - 1; j >= shiftFrom; --j) {
                Word v = r[j - ws] << bs;
                if (bs != 0 && j - ws - 1 >= 0) v |= r[j - ws - 1] >> (kWordBits - bs);
                if (s) v |= s[j];
                r[j] |= v;
            }
            if (s)
                for (int j = std::min(shiftFrom, endWord) - 1; j >= lowWord; --j) r[j] |= s[j];
            if (endWord == t.words()) r[endWord - 1] &= t.lastMask();
        }
    }
}

// Backward reachability from the pair (maxA, maxB): a bit (x, y) is set when the CDs of
// times[from..to) can make up (maxA - x, maxB - y). Only pairs that can still end at x <= limitA
// and y <= limitB are kept up to date. Rows are updated in place from the bottom up.
void addBackward(PairTable& t, const std::int32_t* times, int from, int to, std::int64_t limitA, std::int64_t limitB) {
    std::int64_t reach = 0;
    std::int64_t left = sumOf(times, from, to);
    for (int k = from; k < to; ++k) {
        const std::int32_t tk = times[k];
        reach += tk;
        left -= tk;
        if (tk == 0) continue;
        const bool toA = tk <= t.maxA(), toB = tk <= t.maxB();
        if (!toA && !toB) continue;
        const int lowRow = static_cast<int>(std::max<std::int64_t>(0, t.maxA() - reach));
        const int topRow = static_cast<int>(std::min<std::int64_t>(t.maxA(), limitA + left));
        const int startWord = static_cast<int>(std::max<std::int64_t>(0, t.maxB() - reach) / kWordBits);
        const int words =
            static_cast<int>(std::clamp<std::int64_t>(limitB + left, -1, t.maxB()) / kWordBits) + 1;
        const int ws = tk / kWordBits, bs = tk % kWordBits;
        for (int a = lowRow; a <= topRow; ++a) {
            const Word* s = (toA && a + tk <= t.maxA() && t.used(a + tk)) ? t.row(a + tk) : nullptr;
            if (!s && !t.used(a)) continue;
            t.markUsed(a);
            Word* r = t.row(a);
            // (maxA - a) + (maxB - y) <= reach: nothing below y = maxA + maxB - reach - a.
            const int rowStart = static_cast<int>(
                std::max<std::int64_t>(startWord * kWordBits, std::int64_t{t.maxA()} + t.maxB() - reach - a) / kWordBits);
            for (int j = rowStart; j < words; ++j) {
                Word v = s ? s[j] : 0;
                if (toB && j + ws < t.words()) {
                    v |= r[j + ws] >> bs;
                    if (bs != 0 && j + ws + 1 < t.words()) v |= r[j + ws + 1] << (kWordBits - bs);
                }
                r[j] |= v;
            }
        }
    }
}

constexpr std::int64_t kNever = std::numeric_limits<std::int64_t>::max();

struct Cell {
    int a = -1, b = -1;
    std::int64_t need = kNever;
};

// The pair of t that passes with the least tolerance, at most maxNeed: side A within the tolerance
// of the target (at or above it with plusOnly), side B likewise or short of the target with every
// CD used (a + b = total: the CDs left over, if any, last 0 seconds and can join side B).
Cell leastTolerance(const PairTable& t, std::int32_t target, bool plusOnly, std::int64_t total, std::int64_t maxNeed) {
    Cell best;
    best.need = maxNeed + 1;
    const int maxB = t.maxB();
    for (int a = 0; a <= t.maxA() && best.need > 0; ++a) {
        const std::int64_t dA = plusOnly ? (a >= target ? std::int64_t{a} - target : kNever)
                                         : std::llabs(std::int64_t{a} - target);
        if (dA >= best.need || !t.used(a)) continue;
        const Word* r = t.row(a);
        const std::int64_t shortB = total - a;
        if (shortB >= 0 && shortB < target && shortB <= maxB && t.test(a, static_cast<int>(shortB))) {
            best = {a, static_cast<int>(shortB), dA};
            continue;
        }
        // Side B's nearest pair to the target within what would still improve on the best.
        const std::int64_t reach = best.need - 1;
        const int up = firstSet(r, target, static_cast<int>(std::min<std::int64_t>(maxB, target + reach)));
        int b = up;
        std::int64_t dB = up >= 0 ? up - std::int64_t{target} : kNever;
        if (!plusOnly) {
            const int down = lastSet(r, static_cast<int>(std::max<std::int64_t>(0, target - reach)),
                                     static_cast<int>(std::min<std::int64_t>(maxB, std::int64_t{target} - 1)));
            if (down >= 0 && target - std::int64_t{down} < dB) {
                b = down;
                dB = target - std::int64_t{down};
            }
        }
        if (b < 0) continue;
        const std::int64_t need = std::max(dA, dB);
        if (need < best.need) best = {a, b, need};
    }
    if (best.a < 0) best.need = kNever;
    return best;
}

// Any pair of t that passes the window [lo, hi] as checkSides judges it.
Cell anyPassing(const PairTable& t, std::int32_t lo, std::int32_t hi, std::int64_t total) {
    const int from = std::max(lo, 0);
    const int toA = std::min(hi, t.maxA()), toB = std::min(hi, t.maxB());
    for (int a = from; a <= toA; ++a) {
        if (!t.used(a)) continue;
        const int b = firstSet(t.row(a), from, toB);
        if (b >= 0) return {a, b, 0};
        const std::int64_t shortB = total - a;
        if (shortB >= 0 && shortB < lo && shortB <= t.maxB() && t.test(a, static_cast<int>(shortB)))
            return {a, static_cast<int>(shortB), 0};
    }
    return {};
}

// A quick way to a split with sides of exactly (sumA, sumB), tried before the exact search: side A
// from a one-sum table per CD (small enough to keep every layer), then side B likewise from the
// CDs left. It can fail when the side A taken leaves no side B; the exact search then decides.
class QuickPlan {
public:
    QuickPlan(const std::int32_t* times, int n) : times_(times), n_(n) {}

    bool find(int sumA, int sumB, int* assign) {
        for (bool preferTaking : {true, false}) {
            std::fill(assign, assign + n_, 0);
            if (pick(sumA, 1, preferTaking, assign) && pick(sumB, 2, preferTaking, assign)) return true;
        }
        return false;
    }

private:
    // Marks CDs still 0 in assign with side so that their times add up to sum; false if none do.
    bool pick(int sum, int side, bool preferTaking, int* assign) {
        const int words = sum / kWordBits + 1;
        layers_.assign(static_cast<std::size_t>(n_ + 1) * static_cast<std::size_t>(words), Word{0});
        auto layer = [&](int k) { return layers_.data() + static_cast<std::size_t>(k) * static_cast<std::size_t>(words); };
        layer(0)[0] = 1;
        for (int k = 0; k < n_; ++k) {
            const Word* p = layer(k);
            Word* q = layer(k + 1);
            std::copy(p, p + words, q);
            const std::int32_t tk = times_[k];
            if (assign[k] != 0 || tk == 0 || tk > sum) continue;
            const int ws = tk / kWordBits, bs = tk % kWordBits;
            for (int j = words - 1; j >= ws; --j) {
                Word v = p[j - ws] << bs;
                if (bs != 0 && j - ws - 1 >= 0) v |= p[j - ws - 1] >> (kWordBits - bs);
                q[j] |= v;
            }
        }
        auto has = [&](int k, int x) { return x >= 0 && ((layer(k)[x / kWordBits] >> (x % kWordBits)) & 1); };
        if (!has(n_, sum)) return false;
        int left = sum;
        for (int k = n_ - 1; k >= 0; --k) {
            const std::int32_t tk = times_[k];
            const bool canTake = assign[k] == 0 && tk > 0 && tk <= left && has(k, left - tk);
            const bool canSkip = has(k, left);
            if (canTake && (preferTaking || !canSkip)) {
                assign[k] = side;
                left -= tk;
            }
        }
        return left == 0;
    }

    const std::int32_t* times_;
    int n_;
    std::vector<Word> layers_;
};

// One split of times[from..to) whose sides sum to exactly (sumA, sumB), known to exist: the CDs are
// halved, the first half's forward pairs meet the second half's backward pairs, and each half is
// solved for its share. Two tables, reused down the recursion.
class PlanSearch {
public:
    PlanSearch(const std::int32_t* times, PairTable& forward, PairTable& backward, int* assign)
        : times_(times), f_(forward), g_(backward), assign_(assign) {}

    void solve(int from, int to, int sumA, int sumB) {
        if (to <= from) return;
        if (sumA == 0 && sumB == 0) {
            std::fill(assign_ + from, assign_ + to, 0);
            return;
        }
        if (to - from == 1) {
            assign_[from] = (sumA == times_[from] && sumB == 0) ? 1 : 2;
            return;
        }
        const int mid = from + (to - from) / 2;
        f_.reset(sumA, sumB);
        f_.set(0, 0);
        const std::int64_t second = sumOf(times_, mid, to);
        addForward(f_, times_, from, mid, sumA - second, sumB - second);
        g_.reset(sumA, sumB);
        g_.set(sumA, sumB);
        const std::int64_t firstHalf = sumOf(times_, from, mid);
        addBackward(g_, times_, mid, to, firstHalf, firstHalf);
        int x = -1, y = -1;
        for (int a = 0; a <= sumA && x < 0; ++a) {
            if (!f_.used(a) || !g_.used(a)) continue;
            const Word* p = f_.row(a);
            const Word* q = g_.row(a);
            for (int j = 0; j < f_.words(); ++j)
                if (Word v = p[j] & q[j]; v != 0) {
                    x = a;
                    y = j * kWordBits + std::countr_zero(v);
                    break;
                }
        }
        if (x < 0) return;  // cannot happen for a reachable pair
        solve(from, mid, x, y);
        solve(mid, to, sumA - x, sumB - y);
    }

private:
    const std::int32_t* times_;
    PairTable& f_;
    PairTable& g_;
    int* assign_;
};

// The sum of the times, or -1 when one is negative or the sum passes 32 bits: such sums could
// come back into the window from outside it, and the tables rely on sums that only grow.
std::int64_t boundedTotal(const std::int32_t* times, int n) {
    std::int64_t total = 0;
    for (int k = 0; k < n; ++k) {
        if (times[k] < 0) return -1;
        total += times[k];
        if (total > std::numeric_limits<std::int32_t>::max()) return -1;
    }
    return total;
}

// The smallest tolerance, searched in growing tables: a table of sums up to target + m holds
// every split that passes with a tolerance of m or less, so the first m that finds one gives
// the least of all. Most selections are decided in the first, small table. The cell found
// (a < 0 when none) indexes the last table built in `table`.
Cell searchLeastTolerance(PairTable& table, const std::int32_t* times, int n, std::int32_t target, bool plusOnly,
                          std::int64_t total) {
    const std::int64_t limit = std::int64_t{kExactLimit} - target;
    std::int64_t m = std::min<std::int64_t>(16, limit);
    Cell cell;
    for (;;) {
        const std::int64_t top = target + m;
        if (top >= 0) {
            const int bound = static_cast<int>(std::min<std::int64_t>(top, total));
            const std::int64_t low = plusOnly ? target : target - m;
            table.reset(bound, bound);
            table.set(0, 0);
            // A pair that passes has a >= low, and b >= low or b = total - a >= total - top.
            addForward(table, times, 0, n, low, std::min<std::int64_t>(low, total - top));
            cell = leastTolerance(table, target, plusOnly, total, m);
        }
        if (cell.a >= 0 || m >= limit) return cell;
        m = std::min(m * 4, limit);
    }
}

}  // namespace

bool exactSplitPasses(const std::int32_t* times, int n, const int* assign, std::int32_t lo, std::int32_t hi) {
    std::int32_t sumA = 0, sumB = 0;
    bool allUsed = true;
    for (int k = 0; k < n; ++k) {
        if (assign[k] == 1) sumA = add32(sumA, times[k]);
        else if (assign[k] == 2) sumB = add32(sumB, times[k]);
        else allUsed = false;
    }
    const bool okA = lo <= sumA && sumA <= hi;
    const bool okB = (lo <= sumB && sumB <= hi) || (sumB < lo && allUsed);
    return okA && okB;
}

ExactResult exactCheck(const std::int32_t* times, int n, std::int32_t target, std::int32_t tolerance, bool plusOnly) {
    ExactResult res;
    res.target = target;
    res.lo = plusOnly ? target : sub32(target, tolerance);
    res.hi = add32(target, tolerance);
    const bool windowChecked = res.hi <= kExactLimit;
    const bool toleranceChecked = target <= kExactLimit;
    res.exists = windowChecked ? ExactAnswer::No : ExactAnswer::Unchecked;
    res.toleranceFound = toleranceChecked ? ExactAnswer::No : ExactAnswer::Unchecked;

    const std::int64_t total = boundedTotal(times, n);
    if (total < 0 || n < 0) {
        res.exists = ExactAnswer::Unchecked;
        res.toleranceFound = ExactAnswer::Unchecked;
        return res;
    }

    PairTable first, second;
    std::vector<int> assign(static_cast<std::size_t>(n), 0);
    auto takePlan = [&](const Cell& cell) {
        res.exists = ExactAnswer::Yes;
        res.sumA = cell.a;
        res.sumB = cell.b;
        if (!QuickPlan(times, n).find(cell.a, cell.b, assign.data()))
            PlanSearch(times, first, second, assign.data()).solve(0, n, cell.a, cell.b);
        // A short side B counts only with every CD on the tape; what is left over lasts 0 s.
        if (cell.b < res.lo)
            for (int& x : assign)
                if (x == 0) x = 2;
        for (int k = 0; k < n; ++k)
            (assign[k] == 1 ? res.sideA : assign[k] == 2 ? res.sideB : res.rest).push_back(k + 1);
    };

    // Every sum is 0 or more, so an empty window, or one wholly below 0, passes nothing.
    const bool emptyWindow = res.hi < 0 || res.lo > res.hi;
    if (windowChecked && !emptyWindow && tolerance < 0) {
        // Only 32-bit wrapping of lo gets here; the window is taken as it stands.
        const int bound = static_cast<int>(std::min<std::int64_t>(res.hi, total));
        first.reset(bound, bound);
        first.set(0, 0);
        addForward(first, times, 0, n, 0, 0);
        const Cell cell = anyPassing(first, res.lo, res.hi, total);
        if (cell.a >= 0) takePlan(cell);
    }
    if (!toleranceChecked) return res;

    const Cell cell = searchLeastTolerance(first, times, n, target, plusOnly, total);
    if (cell.a < 0) return res;
    res.toleranceFound = ExactAnswer::Yes;
    res.minTolerance = static_cast<std::int32_t>(cell.need);
    // With the window's own tolerance or more the same split passes: the most accurate plan.
    if (windowChecked && !emptyWindow && tolerance >= 0 && cell.need <= tolerance) takePlan(cell);
    return res;
}

bool exactSplitWithSums(const std::int32_t* times, int n, std::int32_t sumA, std::int32_t sumB, int* assign) {
    if (n < 0 || sumA < 0 || sumB < 0) return false;
    for (int k = 0; k < n; ++k)
        if (times[k] < 0) return false;
    PairTable first, second;
    first.reset(sumA, sumB);
    first.set(0, 0);
    addForward(first, times, 0, n, sumA, sumB);
    if (!first.test(sumA, sumB)) return false;
    PlanSearch(times, first, second, assign).solve(0, n, sumA, sumB);
    return true;
}

std::int32_t exactTarget(const ShufTape& selection, const ShufControl& ctl) {
    if (ctl.targetSec > 0) return ctl.targetSec;
    std::int32_t sum = 0;
    const int n = std::clamp<int>(selection.count, 0, kTapeSlots);
    for (int i = 0; i < n; ++i) sum = add32(sum, selection.cds[i].timeSec);
    return sum / 2;
}

ExactResult exactCheckSelection(const ShufTape& selection, const ShufControl& ctl) {
    std::int32_t times[kTapeSlots];
    const int n = std::clamp<int>(selection.count, 0, kTapeSlots);
    for (int i = 0; i < n; ++i) times[i] = selection.cds[i].timeSec;
    return exactCheck(times, n, exactTarget(selection, ctl), ctl.tolerance, ctl.plusOnly != 0);
}

}  // namespace zemo
