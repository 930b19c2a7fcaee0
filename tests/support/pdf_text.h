// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The text of a printed PDF as pdftotext reads it back, for the printing tests.
#include <cstdio>
#include <filesystem>
#include <sstream>
#include <string>
#include <vector>

namespace zemo::testsupport {

// pdftotext -layout of the file; empty when it could not be read.
inline std::string pdfText(const std::filesystem::path& pdf) {
    std::string text;
    if (FILE* p = ::popen(("pdftotext -layout '" + pdf.string() + "' -").c_str(), "r")) {
        char buf[4096];
        for (std::size_t n; (n = std::fread(buf, 1, sizeof buf, p)) > 0;) text.append(buf, n);
        ::pclose(p);
    }
    return text;
}

// The document name a PDF was printed under (its "Title:" as pdfinfo reads it); empty when none.
inline std::string pdfTitle(const std::filesystem::path& pdf) {
    std::string info;
    if (FILE* p = ::popen(("pdfinfo '" + pdf.string() + "'").c_str(), "r")) {
        char buf[4096];
        for (std::size_t n; (n = std::fread(buf, 1, sizeof buf, p)) > 0;) info.append(buf, n);
        ::pclose(p);
    }
    std::istringstream in(info);
    for (std::string l; std::getline(in, l);) {
        if (l.rfind("Title:", 0) != 0) continue;
        const auto from = l.find_first_not_of(' ', 6);
        return from == std::string::npos ? std::string() : l.substr(from);
    }
    return {};
}

// The words of a line joined by single blanks: the page layout decides how many blanks pdftotext
// puts between words.
inline std::string collapsedBlanks(const std::string& utf8) {
    std::istringstream in(utf8);
    std::string word, out;
    while (in >> word) out += (out.empty() ? "" : " ") + word;
    return out;
}

// The non-empty lines of the PDF, blanks collapsed.
inline std::vector<std::string> pdfLines(const std::filesystem::path& pdf) {
    std::vector<std::string> out;
    std::istringstream in(pdfText(pdf));
    for (std::string l; std::getline(in, l);)
        if (std::string c = collapsedBlanks(l); !c.empty()) out.push_back(std::move(c));
    return out;
}

}  // namespace zemo::testsupport
