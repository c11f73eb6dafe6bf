#include "report/reports.h"

#include <cctype>

#include "report/report_formats.h"

namespace brisolt::report {
namespace {

// Longest stem proposed; well below the 255 bytes most file systems allow.
constexpr std::size_t kMaxStem = 120;

bool Unsafe(unsigned char c) {
    if (c < 0x20 || c == 0x7f) {
        return true;
    }
    switch (c) {
    case '/':
    case '\\':
    case ':':
    case '*':
    case '?':
    case '"':
    case '<':
    case '>':
    case '|':
    case ' ':
    case '\t':
    case '%':
    case '&':
    case ';':
    case '\'':
        return true;
    default:
        return false;
    }
}

// The part with every unsafe character made "_", runs of "_" joined, and "_" and "."
// trimmed at both ends (no hidden files, no "..").
std::string SafePart(std::string_view part) {
    std::string out;
    for (const char ch : part) {
        const char safe = Unsafe(static_cast<unsigned char>(ch)) ? '_' : ch;
        if (safe == '_' && !out.empty() && out.back() == '_') {
            continue;
        }
        out.push_back(safe);
    }
    const std::size_t first = out.find_first_not_of("_.");
    if (first == std::string::npos) {
        return {};
    }
    const std::size_t last = out.find_last_not_of("_.");
    return out.substr(first, last - first + 1);
}

// Cuts s to at most n bytes without splitting a UTF-8 sequence.
void CutUtf8(std::string& s, std::size_t n) {
    if (s.size() <= n) {
        return;
    }
    while (n > 0 && (static_cast<unsigned char>(s[n]) & 0xC0) == 0x80) {
        --n;
    }
    s.resize(n);
}

} // namespace

std::string ProposedPdfName(const AssessmentRecord& record, std::string_view kind) {
    std::string stem = SafePart(kind);
    if (stem.empty()) {
        stem = "Bericht";
    }
    for (const std::string& part : {SafePart(record.Parzelle), SafePart(record.Variant),
                                    record.Year > 0 ? IntegerText(record.Year) : std::string()}) {
        if (!part.empty()) {
            stem += "_" + part;
        }
    }
    CutUtf8(stem, kMaxStem);
    return stem + ".pdf";
}

} // namespace brisolt::report
