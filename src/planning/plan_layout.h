// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The text of a plan: the lines of the results image for each display mode and of the printout.
// All texts are CP932 bytes. The image is a grid of character cells: a text drawn at column c and
// line l puts its characters one by one from cell c on, a double-byte character filling two cells;
// blanks draw nothing, so they leave what an earlier text put there.
#include <cstdint>
#include <string>
#include <vector>

#include "records/shuf_tape.h"

namespace zemo {

struct ImageText {
    int col = 0;
    int line = 0;
    std::string text;  // CP932
};

class PlanImage {
public:
    void clear() { texts_.clear(); }
    bool empty() const { return texts_.empty(); }
    void draw(int col, int line, std::string text) { texts_.push_back({col, line, std::move(text)}); }
    const std::vector<ImageText>& texts() const { return texts_; }
    // The highest line a text was drawn on; -1 when nothing was drawn.
    int lastLine() const;
    // Lines 0..lastLine() as they look on the grid, trailing blanks removed (CP932).
    std::vector<std::string> gridLines() const;

private:
    std::vector<ImageText> texts_;
};

inline constexpr int kFitWidth = 26;  // title and artist columns

// One CD of a plan section: column layout ("%2d %-*s %-*s %*s %-*s" + " %3d" of regPos + 1) or
// comma layout (" \"%-*s\",\"%-*s\",%*s,%-*s" with the release date).
std::string planCdLine(const CdRecord& cd, int n, std::int32_t cumulative, int regPos, bool csv);
// One CD of the selection list ("%2d %-*s %-*s %-*s %-*s" + " %3d" of n, or the comma layout).
std::string selectionCdLine(const CdRecord& cd, int n, std::int32_t cumulative, bool csv);
// "%*s%*s %s": 50 blanks (51 in the comma layout), the label right-aligned in 6, a time.
std::string labelledTimeLine(const std::string& labelSj, std::int32_t seconds, bool csv);

// Line 0 of the image and the printout's first line.
std::string targetText(std::int32_t seconds);     // "目標=[%s]"
std::string toleranceText(std::int32_t seconds);  // "有効=[%s]"
std::string shuffleNoText(std::int32_t shuffleNo);  // "SHUFFLE No=[%5d]"

// The selection list: one line per CD and the total line ("総時間").
std::vector<std::string> selectionListLines(const ShufTape& selection, bool csv);

// A plan's sections as (line offset, text) pairs. For the screen a section appears only when its
// count is positive and the difference line shares its line with the heading that follows; for
// the printout every section appears and every text has its own line. CD numbers that name no CD
// are skipped.
struct PlanLine {
    int offset;
    std::string text;
};
std::vector<PlanLine> planSectionLines(const ShufTape& t, bool csv, bool screen);

}  // namespace zemo
