// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// An RFC 4180 reader that takes its input a block at a time and hands out one row at a time, so
// that the work stays bounded however large or malformed the input is: a field or a row that no
// record could hold stops the reading at once.
#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace zemo::cli {

struct CsvRow {
    int line = 0;  // line of the file where the row starts, from 1
    std::vector<std::string> fields;
};

class CsvReader {
public:
    // Fills buf with up to size bytes: the number read, 0 at the end, -1 on a read error (errno set).
    using Source = std::function<long(char* buf, std::size_t size)>;
    static constexpr std::size_t kBlock = 64 * 1024;

    CsvReader(Source source, std::size_t maxFieldBytes, std::size_t maxFields);

    enum class Result { Row, End, Error };
    // The next row: CRLF or LF (a lone CR too) ends it, quoted fields hold doubled quotes and line
    // breaks, empty lines are skipped and a UTF-8 byte order mark at the start is skipped.
    // Error: error holds "line N: reason", and nothing more is read.
    Result next(CsvRow& row, std::string& error);

    bool sawByteOrderMark() const { return bom_; }
    std::uint64_t bytesConsumed() const { return consumed_; }

private:
    int peek(std::size_t ahead = 0);  // the byte ahead of the position, -1 at the end or after an error
    void advance(std::size_t n = 1);
    std::size_t lineBreakHere();      // length of a line break at the position, 0 if none
    Result fail(std::string& error, int line, const std::string& reason);

    Source source_;
    std::size_t maxFieldBytes_, maxFields_;
    std::string buf_;
    std::size_t pos_ = 0;
    bool eof_ = false, readError_ = false, started_ = false, bom_ = false, stopped_ = false;
    int readErrno_ = 0;
    int line_ = 1;
    std::uint64_t consumed_ = 0;
};

// A source reading a file descriptor, going on after interrupted reads.
CsvReader::Source fdSource(int fd);

}  // namespace zemo::cli
