#include "key/files/calculation_file.h"

#include "key/core/errors.h"
#include "key/core/number_text.h"
#include "key/core/record_fields.h"
#include "key/core/texts.h"
#include "key/core/windows1252.h"
#include "key/files/file_system.h"

namespace brisolt {

namespace {

constexpr char kCtrlZ = 26;
// A line longer than this fits no field of any real calculation file (a name of 16 million
// characters); reading stops at the first such line, so even a huge file costs little memory.
constexpr std::size_t kMaxLineBytes = std::size_t{16} << 20;
// And all lines together, for a file of many long lines.
constexpr std::size_t kMaxFileBytes = std::size_t{64} << 20;
// A refusal quotes at most this many characters of the line (one byte each in Windows-1252).
constexpr std::size_t kQuotedBytes = 41;

// A number line as ParseIntOrZero reads it; a refusal quotes the line as the user reads it,
// decoded from Windows-1252, not as its raw bytes.
Int ParseNumberLine(const std::string& line) {
    try {
        return ParseIntOrZero(line);
    } catch (const ConversionError&) {
        throw ConversionError(
            texts::kNotAnInteger(Windows1252ToUtf8(line.substr(0, kQuotedBytes))));
    }
}

std::string ReadWholeFile(const std::string& path) {
    InputFile file(path);
    // Only the data up to the end of line 85 (or a Ctrl-Z) is ever used, so reading stops
    // there; the limits apply to that part alone.
    std::string data;
    char buffer[1 << 16];
    int carriageReturns = 0;
    std::size_t lineLength = 0;
    for (;;) {
        const std::size_t n = file.Read(buffer, sizeof buffer);
        if (n == 0) {
            break;
        }
        std::size_t used = 0;
        bool enough = false;
        for (; used < n && !enough; ++used) {
            const char c = buffer[used];
            if (c == '\r') {
                lineLength = 0;
                enough = ++carriageReturns >= kCalculationFileLines;
            } else if (c == kCtrlZ) {
                enough = true;
            } else if (++lineLength > kMaxLineBytes) {
                throw FileError(std::string(texts::files::kLineTooLong));
            }
        }
        data.append(buffer, used);
        if (enough) {
            break;
        }
        if (data.size() > kMaxFileBytes) {
            throw FileError(std::string(texts::files::kTooLarge));
        }
    }
    return data;
}

} // namespace

std::vector<std::string> SplitCalculationLines(const std::string& bytes, int& lineEnds) {
    std::vector<std::string> lines;
    lineEnds = 0;
    std::string current;
    bool afterCr = false;
    for (const char c : bytes) {
        if (c == kCtrlZ) {
            break;
        }
        if (c == '\r') {
            lines.push_back(std::move(current));
            current.clear();
            ++lineEnds;
            afterCr = true;
            if (static_cast<int>(lines.size()) == kCalculationFileLines) {
                return lines;
            }
            continue;
        }
        if (c == '\n' && afterCr) {
            afterCr = false;
            continue;
        }
        afterCr = false;
        current.push_back(c);
    }
    lines.push_back(std::move(current));
    return lines;
}

std::string CalculationFileBytes(const AssessmentRecord& record) {
    std::string out(texts::kVersion);
    out += "\r\n";
    for (const RecordField& f : PersistedFields()) {
        out += f.type == FieldType::Text ? Utf8ToWindows1252(f.Text(record))
                                         : std::to_string(f.Number(record));
        out += "\r\n";
    }
    return out;
}

std::string SaveCalculation(const AssessmentRecord& record, const std::string& path) {
    const std::string data = CalculationFileBytes(record);
    ReplaceFileAtomically(path, data);
    record.savedFile = data;
    return std::string(texts::files::kSaved);
}

bool HasUnsavedChanges(const AssessmentRecord& record) {
    return CalculationFileBytes(record) != record.savedFile;
}

void MarkAsSaved(const AssessmentRecord& record) {
    record.savedFile = CalculationFileBytes(record);
}

LoadOutcome LoadCalculationBytes(AssessmentRecord& record, const std::string& bytes,
                                 Int currentYear) {
    int lineEnds = 0;
    const std::vector<std::string> lines = SplitCalculationLines(bytes, lineEnds);
    if (lines.front() != texts::kVersion) {
        return {false, std::string(texts::files::kIncompatibleVersion)};
    }
    const auto fields = PersistedFields();
    // Convert everything before touching the record.
    std::vector<Int> numbers(fields.size(), 0);
    for (std::size_t i = 0; i < fields.size() && i + 1 < lines.size(); ++i) {
        const std::string& line = lines[i + 1];
        if (fields[i].type != FieldType::Text && !line.empty()) {
            numbers[i] = ParseNumberLine(line);
        }
    }
    if (lineEnds < kCalculationFileLines - 1) {
        throw FileError(std::string(texts::files::kIncomplete));
    }
    AssessmentRecord loaded = record;
    ResetRecordDefaults(loaded, currentYear);
    for (std::size_t i = 0; i < fields.size(); ++i) {
        const std::string& line = lines[i + 1];
        if (line.empty()) {
            continue;
        }
        if (fields[i].type == FieldType::Text) {
            *fields[i].Text(loaded) = Windows1252ToUtf8(line);
        } else {
            *fields[i].Number(loaded) = numbers[i];
        }
    }
    MarkAsSaved(loaded);
    record = std::move(loaded);
    return {true, std::string(texts::files::kLoaded)};
}

LoadOutcome LoadCalculation(AssessmentRecord& record, const std::string& path, Int currentYear) {
    return LoadCalculationBytes(record, ReadWholeFile(path), currentYear);
}

} // namespace brisolt
