#include "key/files/calculation_file.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <functional>
#include <sys/stat.h>
#include <unistd.h>

#include "key/core/errors.h"
#include "key/core/number_text.h"
#include "key/core/texts.h"
#include "key/core/windows1252.h"

namespace brisolt {

namespace {

constexpr char kCtrlZ = 26;
// Far beyond any real calculation file; keeps a huge or endless file from eating memory.
constexpr std::size_t kMaxFileBytes = std::size_t{256} << 20;

// One persisted field: how to read it from a record and how to store it.
struct Field {
    bool isText;
    std::function<std::string(const AssessmentRecord&)> text;
    std::function<Int(const AssessmentRecord&)> number;
    std::function<void(AssessmentRecord&, const std::string&)> setText;
    std::function<void(AssessmentRecord&, Int)> setNumber;
};

Field TextField(std::string AssessmentRecord::*member) {
    return {true, [member](const AssessmentRecord& r) { return r.*member; }, nullptr,
            [member](AssessmentRecord& r, const std::string& v) { r.*member = v; }, nullptr};
}

Field NumberField(Int AssessmentRecord::*member) {
    return {false, nullptr, [member](const AssessmentRecord& r) { return r.*member; }, nullptr,
            [member](AssessmentRecord& r, Int v) { r.*member = v; }};
}

Field YearField(int n, Int RotationYear::*member) {
    return {false, nullptr,
            [n, member](const AssessmentRecord& r) { return r.RotationYearAt(n).*member; },
            nullptr, [n, member](AssessmentRecord& r, Int v) { r.RotationYearAt(n).*member = v; }};
}

// Lines 2 ... 85 in file order.
const std::vector<Field>& PersistedFields() {
    static const std::vector<Field> fields = [] {
        using R = AssessmentRecord;
        std::vector<Field> f{
            TextField(&R::NameSurname),  TextField(&R::Address1),      TextField(&R::Address2),
            TextField(&R::Parzelle),     TextField(&R::Variant),       NumberField(&R::Year),
            TextField(&R::EnteredBy),    TextField(&R::EnteredOn),     NumberField(&R::Entertainment),
            NumberField(&R::FloatDistance), NumberField(&R::Gradient), NumberField(&R::Region),
            NumberField(&R::SoilType),   NumberField(&R::Stones),
        };
        for (int n = 1; n <= kRotationYears; ++n) {
            for (Int RotationYear::*m : {&RotationYear::Year, &RotationYear::a, &RotationYear::b,
                                         &RotationYear::c, &RotationYear::d, &RotationYear::e}) {
                f.push_back(YearField(n, m));
            }
        }
        f.push_back(NumberField(&R::Years));
        f.push_back(TextField(&R::Remark));
        for (Int R::*m : {&R::Channels, &R::NumChannels, &R::DepthChannels, &R::DepthChannel,
                          &R::WidthChannel, &R::FrequencyChannels, &R::Method, &R::DepthSoil}) {
            f.push_back(NumberField(m));
        }
        return f;
    }();
    return fields;
}

std::string FileErrorText(int error) {
    switch (error) {
    case ENOENT:
        return std::string(texts::files::kFileNotFound);
    case ENOTDIR:
        return std::string(texts::files::kPathNotFound);
    case EACCES:
    case EPERM:
    case EROFS:
        return std::string(texts::files::kAccessDenied);
    case EISDIR:
        return std::string(texts::files::kNotAFile);
    case ENOSPC:
    case EDQUOT:
        return std::string(texts::files::kDiskFull);
    default:
        return texts::files::kIoError(error);
    }
}

[[noreturn]] void ThrowFileError(int error) { throw FileError(FileErrorText(error)); }

// A number line as ParseIntOrZero reads it; a refusal quotes the line as the user reads it,
// decoded from Windows-1252, not as its raw bytes.
Int ParseNumberLine(const std::string& line) {
    try {
        return ParseIntOrZero(line);
    } catch (const ConversionError&) {
        throw ConversionError(texts::kNotAnInteger(Windows1252ToUtf8(line)));
    }
}

std::string ReadWholeFile(const std::string& path) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0) {
        ThrowFileError(errno);
    }
    struct Closer {
        int fd;
        ~Closer() { ::close(fd); }
    } closer{fd};
    struct stat st {};
    if (::fstat(fd, &st) != 0) {
        ThrowFileError(errno);
    }
    if (!S_ISREG(st.st_mode)) {
        throw FileError(std::string(texts::files::kNotAFile));
    }
    // Only the data up to the end of line 85 (or a Ctrl-Z) is ever used, so reading stops
    // there; the size limit applies to that part alone.
    std::string data;
    char buffer[1 << 16];
    int carriageReturns = 0;
    for (;;) {
        const ssize_t n = ::read(fd, buffer, sizeof buffer);
        if (n < 0) {
            if (errno == EINTR) {
                continue;
            }
            ThrowFileError(errno);
        }
        if (n == 0) {
            break;
        }
        data.append(buffer, static_cast<std::size_t>(n));
        bool enough = false;
        for (ssize_t i = 0; i < n && !enough; ++i) {
            enough = buffer[i] == kCtrlZ ||
                     (buffer[i] == '\r' && ++carriageReturns >= kCalculationFileLines);
        }
        if (enough) {
            break;
        }
        if (data.size() > kMaxFileBytes) {
            throw FileError(std::string(texts::files::kTooLarge));
        }
    }
    return data;
}

void WriteAll(int fd, const std::string& data) {
    std::size_t done = 0;
    while (done < data.size()) {
        const ssize_t n = ::write(fd, data.data() + done, data.size() - done);
        if (n < 0) {
            if (errno == EINTR) {
                continue;
            }
            ThrowFileError(errno);
        }
        done += static_cast<std::size_t>(n);
    }
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
    for (const Field& f : PersistedFields()) {
        out += f.isText ? Utf8ToWindows1252(f.text(record)) : std::to_string(f.number(record));
        out += "\r\n";
    }
    return out;
}

std::string SaveCalculation(const AssessmentRecord& record, const std::string& path) {
    const std::string data = CalculationFileBytes(record);
    struct stat old {};
    const bool existed = ::stat(path.c_str(), &old) == 0;
    if (existed && S_ISDIR(old.st_mode)) {
        ThrowFileError(EISDIR);
    }
    std::string temp = path + ".XXXXXX";
    const int fd = ::mkstemp(temp.data());
    if (fd < 0) {
        ThrowFileError(errno);
    }
    try {
        WriteAll(fd, data);
        if (existed) {
            ::fchmod(fd, old.st_mode & 07777);
        } else {
            const mode_t mask = ::umask(0);
            ::umask(mask);
            ::fchmod(fd, 0666 & ~mask);
        }
        if (::fsync(fd) != 0) {
            ThrowFileError(errno);
        }
        if (::close(fd) != 0) {
            const int error = errno;
            ::unlink(temp.c_str());
            ThrowFileError(error);
        }
    } catch (...) {
        ::close(fd);
        ::unlink(temp.c_str());
        throw;
    }
    if (::rename(temp.c_str(), path.c_str()) != 0) {
        const int error = errno;
        ::unlink(temp.c_str());
        ThrowFileError(error);
    }
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
    const auto& fields = PersistedFields();
    // Convert everything before touching the record.
    std::vector<Int> numbers(fields.size(), 0);
    for (std::size_t i = 0; i < fields.size() && i + 1 < lines.size(); ++i) {
        const std::string& line = lines[i + 1];
        if (!fields[i].isText && !line.empty()) {
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
        if (fields[i].isText) {
            fields[i].setText(loaded, Windows1252ToUtf8(line));
        } else {
            fields[i].setNumber(loaded, numbers[i]);
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
