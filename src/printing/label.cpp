// SPDX-License-Identifier: GPL-3.0-or-later
#include "printing/label.h"

#include <algorithm>
#include <cstdio>

#include "platform/sjis.h"
#include "records/cd_record.h"
#include "records/text.h"

namespace zemo {
namespace {

// Counts and widths from the record: the dialog keeps them non-negative, and a damaged record
// must not move the cursor backwards or up.
int count(std::int16_t v) { return v < 0 ? 0 : v; }

std::string blanks(int n) { return std::string(static_cast<std::size_t>(std::max(n, 0)), ' '); }

std::string numberText(int k) {
    char buf[16];
    std::snprintf(buf, sizeof buf, "%2d ", k);
    return buf;
}

bool sameIgnoringCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        char x = a[i], y = b[i];
        if (x >= 'a' && x <= 'z') x = static_cast<char>(x - 'a' + 'A');
        if (y >= 'a' && y <= 'z') y = static_cast<char>(y - 'a' + 'A');
        if (x != y) return false;
    }
    return true;
}

int sideCount(std::int16_t n) { return std::clamp<int>(n, 0, kTapeSlots); }

// The CD named by a side's entry, or nothing when the number names none.
const CdRecord* cdOf(const ShufTape& plan, int x) { return isCdNumber(plan, x) ? &plan.cds[x - 1] : nullptr; }

// The title and artist part of a CD line: the title over both widths, or each in its own field.
std::string titleAndArtist(const CdRecord& cd, const LabelSide& s, bool artistPrint) {
    const int tw = count(s.titleWidth), aw = count(s.artistWidth);
    if (!artistPrint) return fitText(fieldText(cd.title), tw + aw) + ' ';
    return fitText(fieldText(cd.title), tw) + ' ' + fitText(fieldText(cd.artist), aw);
}

// One side of the vertical layout: caption, data feed and one line per CD.
void verticalSide(LabelCursor& c, const LabelSides& S, int side, const LabelLayout& layout, const ShufTape& plan,
                  bool userCodes) {
    const LabelSide& s = S.sides[side];
    const int n = sideCount(side == kSideA ? plan.countA : plan.countB);
    if (n <= 0) return;
    const std::int16_t* list = side == kSideA ? plan.sideA : plan.sideB;
    c.lineFeed(count(s.subtitleFeed));
    if (s.subtitlePrint) {
        c.putText(blanks(count(s.subtitleSpace)) + sideCaption(layout.subtitleKind, side));
        c.lineFeed(1);
    }
    c.lineFeed(count(s.dataFeed));
    for (int k = 1; k <= n; ++k) {
        const CdRecord* cd = cdOf(plan, list[k - 1]);
        if (!cd) continue;  // a number that names no CD has no line
        c.skipColumns(count(s.dataSpace));
        if (s.numberPrint) c.putText(numberText(k));
        if (!S.artistPrint[side]) {
            c.putText(titleAndArtist(*cd, s, false));
        } else {
            c.putText(fitText(fieldText(cd->title), count(s.titleWidth)) + ' ');
            c.putText(fitText(fieldText(cd->artist), count(s.artistWidth)));
        }
        if (s.timePrint) c.putText(' ' + formatTimeShort(cd->timeSec));
        if (userCodes) c.putText(blanks(8) + fieldText(cd->userCode));
        c.lineFeed(1);
    }
}

// One side's cell of a horizontal row: the CD of entry i, or blanks of the cell's width.
std::string horizontalCell(const LabelSides& S, int side, const ShufTape& plan, int i) {
    const LabelSide& s = S.sides[side];
    const int width = horizontalCellWidth(s, count(s.dataSpace));
    const int n = sideCount(side == kSideA ? plan.countA : plan.countB);
    const std::int16_t* list = side == kSideA ? plan.sideA : plan.sideB;
    const CdRecord* cd = (i < n && width <= kLabelCellMax) ? cdOf(plan, list[i]) : nullptr;
    if (!cd) return blanks(std::min(width, kLabelCellMax));
    std::string cell = blanks(count(s.dataSpace));
    if (s.numberPrint) cell += numberText(i + 1);
    cell += titleAndArtist(*cd, s, S.artistPrint[side] != 0);
    if (s.timePrint) cell += ' ' + formatTimeShort(cd->timeSec);
    return cell;
}

}  // namespace

void LabelCursor::lineFeed(int n) {
    row_ += n;
    column_ = 0;
}

void LabelCursor::skipColumns(int n) { column_ += n; }

void LabelCursor::putText(std::string text) {
    if (text.empty()) return;
    if (text.size() > static_cast<std::size_t>(kLabelTextMax)) text = cutToBytes(text, kLabelTextMax);
    const int length = static_cast<int>(text.size());
    texts_.push_back(LabelText{row_, column_, std::move(text)});
    column_ += length;
}

std::string sideCaption(int subtitleKind, int side) {
    static const char* const kCaptions[3][2] = {{"Ａ面", "Ｂ面"}, {"SIDE-A", "SIDE-B"}, {"A:", "B:"}};
    if (subtitleKind < 0 || subtitleKind > 2 || side < 0 || side > 1) return {};
    return sj(kCaptions[subtitleKind][side]);
}

int horizontalCellWidth(const LabelSide& s, int leftSpace) {
    return (s.numberPrint ? 3 : 0) + (s.timePrint ? 6 : 0) + leftSpace + count(s.titleWidth) + 1 +
           count(s.artistWidth);
}

void composeTitleBlock(LabelCursor& c, const LabelLayout& layout, int feed, std::int32_t labelDate) {
    c.lineFeed(feed);
    if (!layout.titlePrint) return;
    c.putText(blanks(count(layout.titleSpace)) + fitText(fieldText(layout.labelTitle), count(layout.titleChars)));
    if (layout.datePrint) c.putText(formatDateShort(labelDate));
    c.lineFeed(1);
}

void composeVertical(LabelCursor& c, const LabelLayout& layout, const LabelSource& source, bool userCodes) {
    const LabelSides& S = layout.vertical;
    const ShufTape& plan = *source.plan;
    composeTitleBlock(c, layout, count(layout.titleFeedV), source.labelDate);
    verticalSide(c, S, kSideA, layout, plan, userCodes);
    verticalSide(c, S, kSideB, layout, plan, userCodes);
    const int p = kLabelReservedRows - (sideCount(plan.countA) + sideCount(plan.countB) +
                                        count(S.sides[kSideA].dataFeed) + count(S.sides[kSideB].dataFeed));
    if (p > 0) c.lineFeed(p);
}

void composeHorizontal(LabelCursor& c, const LabelLayout& layout, const LabelSource& source) {
    const LabelSides& S = layout.horizontal;
    const LabelSide& a = S.sides[kSideA];
    const LabelSide& b = S.sides[kSideB];
    const ShufTape& plan = *source.plan;
    const int nA = sideCount(plan.countA), nB = sideCount(plan.countB);
    const int n = std::clamp<int>(plan.count, 0, kTapeSlots);
    if (n > 0) {
        composeTitleBlock(c, layout, count(layout.titleFeedH), source.labelDate);
        c.lineFeed(count(a.subtitleFeed));
        // Caption row: side B's caption starts where side B's cells start.
        const int dataWidthA = horizontalCellWidth(a, count(a.dataSpace));
        int pad = dataWidthA;
        if (nA > 0 && a.subtitlePrint) {
            const std::string caption = sideCaption(layout.subtitleKind, kSideA);
            c.putText(blanks(count(a.subtitleSpace)) + caption);
            pad = dataWidthA - static_cast<int>(caption.size()) - count(a.subtitleSpace);
        }
        c.putText(blanks(std::min(pad + 1, kLabelCellMax)));
        if (nB > 0 && b.subtitlePrint) c.putText(blanks(count(b.subtitleSpace)) + sideCaption(layout.subtitleKind, kSideB));
        c.lineFeed(1);
        c.lineFeed(count(a.dataFeed));
        for (int i = 0; i < n; ++i) {
            if (i >= nA && i >= nB) continue;
            c.putText(horizontalCell(S, kSideA, plan, i) + ' ');
            c.putText(horizontalCell(S, kSideB, plan, i));
            c.lineFeed(1);
        }
    }
    const int p = kLabelReservedRows - std::max(nA, nB) - count(a.dataFeed);
    if (p > 0 && sameIgnoringCase(source.creatorId, kFillerCreatorId)) c.lineFeed(p);
}

std::vector<LabelText> composeLabel(const LabelLayout& layout, const LabelSource& source) {
    LabelCursor c;
    if (!source.plan) return {};
    if (layout.orientation == 0 || layout.orientation == 2) composeVertical(c, layout, source, false);
    if (layout.orientation == 1 || layout.orientation == 2) composeHorizontal(c, layout, source);
    if (layout.userVertical) {
        c.lineFeed(count(layout.userVerticalFeed));
        composeVertical(c, layout, source, true);
    }
    return c.take();
}

std::vector<std::string> labelGridLines(const std::vector<LabelText>& texts) {
    // Per cell: the byte and whether it is a single character (0), a lead (1) or a trail (2).
    struct Row {
        std::string bytes;
        std::string kinds;
    };
    std::vector<Row> rows;
    int last = -1;
    for (const LabelText& t : texts) last = std::max(last, t.row);
    if (last < 0) return {};
    rows.resize(static_cast<std::size_t>(last) + 1);
    auto clearCell = [](Row& r, std::size_t at) {
        r.bytes[at] = ' ';
        r.kinds[at] = 0;
    };
    auto put = [&](Row& r, std::size_t at, char byte, char kind) {
        if (r.bytes.size() <= at) {
            r.bytes.resize(at + 1, ' ');
            r.kinds.resize(at + 1, 0);
        }
        // Overwriting half of a double-byte character takes away its other half too.
        if (r.kinds[at] == 1 && at + 1 < r.bytes.size()) clearCell(r, at + 1);
        if (r.kinds[at] == 2 && at > 0) clearCell(r, at - 1);
        r.bytes[at] = byte;
        r.kinds[at] = kind;
    };
    for (const LabelText& t : texts) {
        if (t.row < 0 || t.column < 0) continue;
        Row& r = rows[static_cast<std::size_t>(t.row)];
        const std::string& s = t.text;
        for (std::size_t j = 0; j < s.size();) {
            const auto at = static_cast<std::size_t>(t.column) + j;
            const bool wide = isLeadByte(static_cast<unsigned char>(s[j])) && j + 1 < s.size();
            if (wide) {
                const bool fullWidthBlank = static_cast<unsigned char>(s[j]) == 0x81 && s[j + 1] == 0x40;
                if (!fullWidthBlank) {
                    put(r, at, s[j], 1);
                    put(r, at + 1, s[j + 1], 2);
                }
                j += 2;
            } else {
                if (s[j] != ' ') put(r, at, s[j], 0);
                j += 1;
            }
        }
    }
    std::vector<std::string> out;
    out.reserve(rows.size());
    for (Row& r : rows) out.push_back(std::move(r.bytes));
    return out;
}

}  // namespace zemo
