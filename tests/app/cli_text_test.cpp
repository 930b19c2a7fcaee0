// SPDX-License-Identifier: GPL-3.0-or-later
// The command-line tool's CSV reader, terminal escapes and UTF-8 check, called directly.
#include <gtest/gtest.h>

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "app/cli/cli_common.h"
#include "app/cli/csv_reader.h"
#include "platform/sjis.h"

namespace zemo::cli {
namespace {

// Hands out text in pieces of at most `piece` bytes, so rows, quotes, line breaks and the byte
// order mark fall across block boundaries.
CsvReader::Source pieces(std::string text, std::size_t piece) {
    auto pos = std::make_shared<std::size_t>(0);
    return [text = std::move(text), piece, pos](char* buf, std::size_t size) -> long {
        const std::size_t n = std::min({piece, size, text.size() - *pos});
        std::memcpy(buf, text.data() + *pos, n);
        *pos += n;
        return static_cast<long>(n);
    };
}

// A source that never ends by itself: `unit` over and over, up to `cap` bytes; `given` counts
// what it handed out.
CsvReader::Source endless(std::string head, std::string unit, std::uint64_t cap, std::uint64_t& given) {
    given = 0;
    return [head = std::move(head), unit = std::move(unit), cap, &given](char* buf, std::size_t size) -> long {
        std::size_t n = 0;
        while (n < size && given < cap) {
            const std::uint64_t at = given;
            buf[n++] = at < head.size() ? head[at] : unit[(at - head.size()) % unit.size()];
            ++given;
        }
        return static_cast<long>(n);
    };
}

struct ReadOutcome {
    std::vector<CsvRow> rows;
    std::string error;  // "" when the text ended normally
};

ReadOutcome readAll(CsvReader& reader) {
    ReadOutcome out;
    for (CsvRow row;;) {
        const CsvReader::Result r = reader.next(row, out.error);
        if (r != CsvReader::Result::Row) break;
        out.rows.push_back(row);
    }
    return out;
}

TEST(CsvReader, RowsComeOutTheSameHoweverTheInputIsCutIntoBlocks) {
    const std::string text =
        "\xEF\xBB\xBF" "barcode,title\r\n"
        "1,\"Line, one\"\r\n"
        "\r\n"
        "2,\"two\r\nlines \"\"quoted\"\"\"\n"
        "3,lone cr\r"
        "4,";
    for (std::size_t piece : {std::size_t{1}, std::size_t{2}, std::size_t{3}, std::size_t{7}, text.size()}) {
        CsvReader reader(pieces(text, piece), 120, 16);
        const ReadOutcome got = readAll(reader);
        EXPECT_EQ(got.error, "") << piece;
        EXPECT_TRUE(reader.sawByteOrderMark()) << piece;
        ASSERT_EQ(got.rows.size(), 5u) << piece;
        EXPECT_EQ(got.rows[0].fields, (std::vector<std::string>{"barcode", "title"}));
        EXPECT_EQ(got.rows[1].fields, (std::vector<std::string>{"1", "Line, one"}));
        EXPECT_EQ(got.rows[2].fields, (std::vector<std::string>{"2", "two\r\nlines \"quoted\""}));
        EXPECT_EQ(got.rows[2].line, 4);
        EXPECT_EQ(got.rows[3].fields, (std::vector<std::string>{"3", "lone cr"}));
        EXPECT_EQ(got.rows[3].line, 6);
        EXPECT_EQ(got.rows[4].fields, (std::vector<std::string>{"4", ""}));
        EXPECT_EQ(got.rows[4].line, 7);
    }
}

TEST(CsvReader, QuotingErrorsNameTheirLine) {
    const struct {
        const char* text;
        const char* error;
    } cases[] = {
        {"a\r\n\"open\r\nstill open", "line 2: quoted field not closed"},
        {"a\r\n\"x\"y\r\n", "line 2: text after a closing quote"},
        {"a\r\nb\"c\r\n", "line 2: quote inside an unquoted field"},
    };
    for (const auto& c : cases) {
        CsvReader reader(pieces(c.text, 4), 120, 16);
        EXPECT_EQ(readAll(reader).error, c.error) << c.text;
    }
}

TEST(CsvReader, AFieldAtTheLimitIsReadAndOneByteMoreStops) {
    for (const bool quoted : {false, true}) {
        const std::string atLimit(120, 'x');
        const std::string q = quoted ? "\"" : "";
        CsvReader ok(pieces("a\r\n" + q + atLimit + q + "\r\n", 50), 120, 16);
        const ReadOutcome got = readAll(ok);
        EXPECT_EQ(got.error, "");
        ASSERT_EQ(got.rows.size(), 2u);
        EXPECT_EQ(got.rows[1].fields[0], atLimit);

        CsvReader over(pieces("a\r\n" + q + atLimit + "y" + q + "\r\n", 50), 120, 16);
        EXPECT_EQ(readAll(over).error, "line 2: a field longer than 120 bytes, more than any field of a record holds");
    }
}

TEST(CsvReader, ARowAtTheFieldLimitIsReadAndOneFieldMoreStops) {
    CsvReader ok(pieces(std::string(15, ',') + "\r\n", 5), 120, 16);
    const ReadOutcome got = readAll(ok);
    ASSERT_EQ(got.rows.size(), 1u);
    EXPECT_EQ(got.rows[0].fields.size(), 16u);
    CsvReader over(pieces(std::string(16, ',') + "\r\n", 5), 120, 16);
    EXPECT_EQ(readAll(over).error, "line 1: more than 16 fields in a row");
}

// An input without end (a device, a field of gigabytes) is given up after the block that shows
// the field or the row too long, never read on.
TEST(CsvReader, StopsEarlyOnInputWithoutEnd) {
    const std::uint64_t cap = 64u << 20;
    const struct {
        const char* what;
        std::string head, unit;
        const char* error;
    } cases[] = {
        {"an endless field", "barcode\r\n", "x", "line 2: a field longer than 120 bytes"},
        {"an endless quoted field", "barcode\r\n\"", "x\r\n", "line 2: a field longer than 120 bytes"},
        {"an endless row", "barcode\r\n", ",", "line 2: more than 16 fields in a row"},
        {"zero bytes", "", std::string(1, '\0'), "line 1: a field longer than 120 bytes"},
    };
    for (const auto& c : cases) {
        std::uint64_t given = 0;
        CsvReader reader(endless(c.head, c.unit, cap, given), 120, 16);
        const ReadOutcome got = readAll(reader);
        EXPECT_EQ(got.error.rfind(c.error, 0), 0u) << c.what << ": " << got.error;
        EXPECT_LE(given, 2 * CsvReader::kBlock) << c.what;
    }
}

TEST(CsvReader, AReadErrorStopsTheReading) {
    int calls = 0;
    CsvReader reader(
        [&calls](char* buf, std::size_t) -> long {
            if (calls++ == 0) {
                std::memcpy(buf, "a,b\r\nc", 6);
                return 6;
            }
            errno = EIO;
            return -1;
        },
        120, 16);
    CsvRow row;
    std::string error;
    EXPECT_EQ(reader.next(row, error), CsvReader::Result::Row);
    EXPECT_EQ(reader.next(row, error), CsvReader::Result::Error);
    EXPECT_EQ(error, std::string("read error: ") + std::strerror(EIO));
    EXPECT_EQ(reader.next(row, error), CsvReader::Result::Error);  // and nothing is read any more
    EXPECT_EQ(calls, 2);
}

TEST(VisibleControls, EscapesEveryControlCharacterAndKeepsAllElse) {
    const struct {
        std::string in, out;
    } cases[] = {
        {"\x1B[2J", "\\x1B[2J"},
        {std::string("a\0b", 3), "a\\x00b"},
        {"\t\r\n\x7F", "\\x09\\x0D\\x0A\\x7F"},
        {"\xC2\x9B" "31m", "\\u009B31m"},       // C1 CSI
        {"\xC2\x80\xC2\x9F", "\\u0080\\u009F"},  // the ends of C1
        {"\xC2\xA0 ｱ 髙 ~ \\", "\xC2\xA0 ｱ 髙 ~ \\"},
    };
    for (const auto& c : cases) EXPECT_EQ(visibleControls(c.in), c.out);
}

TEST(IsUtf8, AcceptsWellFormedTextOnly) {
    const struct {
        std::string bytes;
        bool ok;
        std::size_t bad;
    } cases[] = {
        {"plain ASCII", true, 0},
        {"ブルー 🎵 é", true, 0},
        {"\xF4\x8F\xBF\xBF", true, 0},       // U+10FFFF
        {"ab\x83\x75", false, 2},             // Shift-JIS
        {"\xC0\xAF", false, 0},               // overlong
        {"x\xE0\x80\xAF", false, 1},          // overlong
        {"\xED\xA0\x80", false, 0},           // a surrogate
        {"\xF4\x90\x80\x80", false, 0},       // above U+10FFFF
        {"ok\xE3\x81", false, 2},             // cut short
        {"\xFF", false, 0},
    };
    for (const auto& c : cases) {
        std::size_t bad = 99;
        EXPECT_EQ(isUtf8(c.bytes, bad), c.ok) << c.bytes;
        if (!c.ok) {
            EXPECT_EQ(bad, c.bad) << c.bytes;
        }
    }
}

}  // namespace
}  // namespace zemo::cli
