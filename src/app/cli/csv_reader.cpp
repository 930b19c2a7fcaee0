// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/cli/csv_reader.h"

#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace zemo::cli {

CsvReader::CsvReader(Source source, std::size_t maxFieldBytes, std::size_t maxFields)
    : source_(std::move(source)), maxFieldBytes_(maxFieldBytes), maxFields_(maxFields) {}

int CsvReader::peek(std::size_t ahead) {
    while (pos_ + ahead >= buf_.size() && !eof_ && !readError_) {
        buf_.erase(0, pos_);
        pos_ = 0;
        const std::size_t have = buf_.size();
        buf_.resize(have + kBlock);
        const long n = source_(buf_.data() + have, kBlock);
        buf_.resize(have + (n > 0 ? static_cast<std::size_t>(n) : 0));
        if (n == 0) eof_ = true;
        if (n < 0) {
            readError_ = true;
            readErrno_ = errno;
        }
    }
    if (pos_ + ahead >= buf_.size()) return -1;
    return static_cast<unsigned char>(buf_[pos_ + ahead]);
}

void CsvReader::advance(std::size_t n) {
    pos_ += n;
    consumed_ += n;
}

std::size_t CsvReader::lineBreakHere() {
    const int c = peek();
    if (c == '\n') return 1;
    if (c == '\r') return peek(1) == '\n' ? 2 : 1;
    return 0;
}

CsvReader::Result CsvReader::fail(std::string& error, int line, const std::string& reason) {
    stopped_ = true;
    error = readError_ ? "read error: " + std::string(std::strerror(readErrno_))
                       : "line " + std::to_string(line) + ": " + reason;
    return Result::Error;
}

CsvReader::Result CsvReader::next(CsvRow& row, std::string& error) {
    row.fields.clear();
    if (stopped_) return fail(error, line_, "reading stopped");
    if (!started_) {
        started_ = true;
        if (peek() == 0xEF && peek(1) == 0xBB && peek(2) == 0xBF) {
            advance(3);
            bom_ = true;
        }
    }
    for (std::size_t br; (br = lineBreakHere()) != 0;) {  // empty lines
        advance(br);
        ++line_;
    }
    if (peek() < 0) return readError_ ? fail(error, line_, "") : Result::End;

    row.line = line_;
    const std::string tooLong = "a field longer than " + std::to_string(maxFieldBytes_) +
                                " bytes, more than any field of a record holds";
    for (;;) {
        std::string field;
        if (peek() == '"') {
            const int startLine = line_;
            advance();
            for (;;) {
                const int c = peek();
                if (c < 0) return fail(error, startLine, "quoted field not closed");
                if (c == '"') {
                    if (peek(1) == '"') {
                        field += '"';
                        advance(2);
                        if (field.size() > maxFieldBytes_) return fail(error, startLine, tooLong);
                        continue;
                    }
                    advance();
                    break;
                }
                if (c == '\n' || (c == '\r' && peek(1) != '\n')) ++line_;
                field += static_cast<char>(c);
                advance();
                if (field.size() > maxFieldBytes_) return fail(error, startLine, tooLong);
            }
            const int after = peek();
            if (after >= 0 && after != ',' && lineBreakHere() == 0)
                return fail(error, line_, "text after a closing quote");
        } else {
            for (int c; (c = peek()) >= 0 && c != ',' && lineBreakHere() == 0;) {
                if (c == '"') return fail(error, line_, "quote inside an unquoted field");
                field += static_cast<char>(c);
                advance();
                if (field.size() > maxFieldBytes_) return fail(error, line_, tooLong);
            }
        }
        if (readError_) return fail(error, line_, "");
        row.fields.push_back(std::move(field));
        if (row.fields.size() > maxFields_)
            return fail(error, row.line, "more than " + std::to_string(maxFields_) + " fields in a row");
        if (peek() == ',') {
            advance();
            continue;
        }
        if (std::size_t br = lineBreakHere()) {
            advance(br);
            ++line_;
        }
        break;
    }
    if (readError_) return fail(error, line_, "");
    return Result::Row;
}

CsvReader::Source fdSource(int fd) {
    return [fd](char* buf, std::size_t size) -> long {
        for (;;) {
            const ssize_t n = ::read(fd, buf, size);
            if (n < 0 && errno == EINTR) continue;
            return static_cast<long>(n);
        }
    };
}

}  // namespace zemo::cli
