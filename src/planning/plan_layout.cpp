// SPDX-License-Identifier: GPL-3.0-or-later
#include "planning/plan_layout.h"

#include <algorithm>
#include <cstdarg>
#include <cstdio>

#include "platform/sjis.h"
#include "records/text.h"

namespace zemo {

namespace {

std::string format(const char* fmt, ...) {
    char buf[512];
    va_list ap;
    va_start(ap, fmt);
    int n = std::vsnprintf(buf, sizeof buf, fmt, ap);
    va_end(ap);
    if (n < 0) return {};
    return std::string(buf, static_cast<std::size_t>(std::min<int>(n, sizeof buf - 1)));
}

struct Cell {
    enum Kind : unsigned char { Empty, Single, Lead, Trail } kind = Empty;
    char b0 = 0, b1 = 0;
};

// Clears the double-byte character that cell c belongs to, if any.
void breakCell(std::vector<Cell>& row, int c) {
    if (c < 0 || c >= static_cast<int>(row.size())) return;
    if (row[c].kind == Cell::Trail && c > 0) row[c - 1] = Cell{};
    if (row[c].kind == Cell::Lead && c + 1 < static_cast<int>(row.size())) row[c + 1] = Cell{};
    row[c] = Cell{};
}

void put(std::vector<Cell>& row, int c, const char* bytes, int width) {
    if (c < 0) return;
    if (static_cast<int>(row.size()) < c + width) row.resize(static_cast<std::size_t>(c + width));
    for (int k = 0; k < width; ++k) breakCell(row, c + k);
    if (width == 1) {
        row[c] = Cell{Cell::Single, bytes[0], 0};
    } else {
        row[c] = Cell{Cell::Lead, bytes[0], bytes[1]};
        row[c + 1] = Cell{Cell::Trail, 0, 0};
    }
}

std::string timeText(std::int32_t s) { return formatTimeLong(s); }

}  // namespace

int PlanImage::lastLine() const {
    int last = -1;
    for (const ImageText& t : texts_) last = std::max(last, t.line);
    return last;
}

std::vector<std::string> PlanImage::gridLines() const {
    const int last = lastLine();
    std::vector<std::vector<Cell>> grid(static_cast<std::size_t>(last + 1));
    for (const ImageText& t : texts_) {
        if (t.line < 0) continue;
        std::vector<Cell>& row = grid[static_cast<std::size_t>(t.line)];
        const std::string& s = t.text;
        int col = t.col;
        for (std::size_t i = 0; i < s.size();) {
            const auto b = static_cast<unsigned char>(s[i]);
            if (isLeadByte(b) && i + 1 < s.size()) {
                const auto trail = static_cast<unsigned char>(s[i + 1]);
                if (!(b == 0x81 && trail == 0x40)) put(row, col, &s[i], 2);  // the full-width blank draws nothing
                i += 2;
                col += 2;
            } else {
                if (b != ' ') put(row, col, &s[i], 1);
                i += 1;
                col += 1;
            }
        }
    }
    std::vector<std::string> lines;
    lines.reserve(grid.size());
    for (const std::vector<Cell>& row : grid) {
        std::string line;
        for (const Cell& c : row) {
            switch (c.kind) {
                case Cell::Empty: line += ' '; break;
                case Cell::Single: line += c.b0; break;
                case Cell::Lead: line += c.b0; line += c.b1; break;
                case Cell::Trail: break;
            }
        }
        trimRight(line);
        lines.push_back(std::move(line));
    }
    return lines;
}

std::string planCdLine(const CdRecord& cd, int n, std::int32_t cumulative, int regPos, bool csv) {
    const std::string title = fitText(fieldText(cd.title), kFitWidth);
    const std::string artist = fitText(fieldText(cd.artist), kFitWidth);
    const std::string time = timeText(cd.timeSec);
    if (csv) {
        const std::string date = formatDate(cd.saleDate);
        return format(" \"%-*s\",\"%-*s\",%*s,%-*s", kFitWidth, title.c_str(), kFitWidth, artist.c_str(), 8,
                      time.c_str(), 10, date.c_str());
    }
    const std::string cum = timeText(cumulative);
    return format("%2d %-*s %-*s %*s %-*s", n, kFitWidth, title.c_str(), kFitWidth, artist.c_str(), 8, time.c_str(), 8,
                  cum.c_str()) +
           format(" %3d", regPos + 1);
}

std::string selectionCdLine(const CdRecord& cd, int n, std::int32_t cumulative, bool csv) {
    const std::string title = fitText(fieldText(cd.title), kFitWidth);
    const std::string artist = fitText(fieldText(cd.artist), kFitWidth);
    const std::string time = timeText(cd.timeSec);
    if (csv) {
        const std::string date = formatDate(cd.saleDate);
        return format("\"%-*s\",\"%-*s\",%-*s,%-*s", kFitWidth, title.c_str(), kFitWidth, artist.c_str(), 8,
                      time.c_str(), 10, date.c_str());
    }
    const std::string cum = timeText(cumulative);
    return format("%2d %-*s %-*s %-*s %-*s", n, kFitWidth, title.c_str(), kFitWidth, artist.c_str(), 8, time.c_str(), 8,
                  cum.c_str()) +
           format(" %3d", n);
}

std::string labelledTimeLine(const std::string& labelSj, std::int32_t seconds, bool csv) {
    return format("%*s%*s %s", csv ? 51 : 50, "", 6, labelSj.c_str(), timeText(seconds).c_str());
}

std::string targetText(std::int32_t seconds) { return sj("目標=[") + timeText(seconds) + "]"; }
std::string toleranceText(std::int32_t seconds) { return sj("有効=[") + timeText(seconds) + "]"; }
std::string shuffleNoText(std::int32_t shuffleNo) { return format("SHUFFLE No=[%5d]", static_cast<int>(shuffleNo)); }

std::vector<std::string> selectionListLines(const ShufTape& selection, bool csv) {
    std::vector<std::string> lines;
    const int n = std::clamp<int>(selection.count, 0, kTapeSlots);
    std::int32_t cumulative = 0;
    for (int j = 0; j < n; ++j) {
        const CdRecord& cd = selection.cds[j];
        cumulative = add32(cumulative, cd.timeSec);
        lines.push_back(selectionCdLine(cd, j + 1, cumulative, csv));
    }
    lines.push_back(labelledTimeLine(sj("総時間"), cumulative, csv));
    return lines;
}

std::vector<PlanLine> planSectionLines(const ShufTape& t, bool csv, bool screen) {
    std::vector<PlanLine> out;
    int line = 0;
    auto section = [&](const char* heading, const std::int16_t* list, int count) -> std::int32_t {
        out.push_back({line++, sj(heading)});
        std::int32_t cumulative = 0;
        int n = 0;
        const int bounded = std::clamp(count, 0, kTapeSlots);
        for (int i = 0; i < bounded; ++i) {
            const int x = list[i];
            if (!isCdNumber(t, x)) continue;  // names no CD: no line, no time
            const CdRecord& cd = t.cds[x - 1];
            cumulative = add32(cumulative, cd.timeSec);
            out.push_back({line++, planCdLine(cd, ++n, cumulative, t.regPos[x - 1], csv)});
        }
        return cumulative;
    };
    std::int32_t sumA = 0, sumB = 0;
    if (!screen || t.countA > 0) sumA = section("A面", t.sideA, t.countA);
    if (!screen || t.countB > 0) {
        sumB = section("B面", t.sideB, t.countB);
        out.push_back({line, labelledTimeLine(sj("ABの差"), abs32(sub32(sumA, sumB)), csv)});
        if (!screen) ++line;  // on the screen the next heading shares the difference line
    }
    if (!screen || t.countRest > 0) section("未収録", t.rest, t.countRest);
    return out;
}

}  // namespace zemo
