// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A cassette label composed from the layout record and a tape plan, as texts placed on a grid of
// half-width cells (row, column). Composition decides every line and width in cells; drawing the
// texts onto a preview or a printer page is a separate step (printing/ui).
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "records/label_layout.h"
#include "records/shuf_tape.h"

namespace zemo {

// One text put on the label: its first byte sits in the cell at (row, column); byte j of it in
// column + j. CP932, at most kLabelTextMax bytes.
struct LabelText {
    int row = 0;
    int column = 0;
    std::string text;
    bool operator==(const LabelText&) const = default;
};

inline constexpr int kLabelTextMax = 255;
// A horizontal cell wider than this is not filled with its CD.
inline constexpr int kLabelCellMax = 250;
// Rows each layout reserves for its CD lines and data feeds.
inline constexpr int kLabelReservedRows = 30;
// The installation whose horizontal labels are padded to the reserved rows.
inline constexpr std::string_view kFillerCreatorId = "CXC01166";

// The composition cursor: where the next text goes.
class LabelCursor {
public:
    void lineFeed(int n);
    void skipColumns(int n);
    // Nothing for an empty text; a text longer than kLabelTextMax is cut to it.
    void putText(std::string text);

    int row() const { return row_; }
    int column() const { return column_; }
    const std::vector<LabelText>& texts() const { return texts_; }
    std::vector<LabelText> take() { return std::move(texts_); }

private:
    int row_ = 0, column_ = 0;
    std::vector<LabelText> texts_;
};

// The caption of side 0 (A) or 1 (B) for a subtitleKind (CP932); empty for an unknown kind.
std::string sideCaption(int subtitleKind, int side);

// Cells of one side's horizontal cell with the given left space.
int horizontalCellWidth(const LabelSide& side, int leftSpace);

// What a label is made of besides the layout.
struct LabelSource {
    const ShufTape* plan = nullptr;  // the plan the results window shows
    std::string creatorId;           // the control record's creatorId (plain, CP932)
    std::int32_t labelDate = 0;      // YYYYMMDD
};

// The whole label: the vertical layout, the horizontal one, the vertical one with user codes, as
// the layout asks for them.
std::vector<LabelText> composeLabel(const LabelLayout& layout, const LabelSource& source);

// The parts, open for tests.
void composeTitleBlock(LabelCursor& cursor, const LabelLayout& layout, int feed, std::int32_t labelDate);
void composeVertical(LabelCursor& cursor, const LabelLayout& layout, const LabelSource& source, bool userCodes);
void composeHorizontal(LabelCursor& cursor, const LabelLayout& layout, const LabelSource& source);

// The label as rows of characters (CP932), row 0 to the last row any text was put on: texts laid
// over each other in order, a blank (either width) drawing nothing. Trailing blanks stay.
std::vector<std::string> labelGridLines(const std::vector<LabelText>& texts);

}  // namespace zemo
