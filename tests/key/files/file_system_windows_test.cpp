// The Windows file layer: replacing files atomically, German messages for files that cannot
// be replaced, UTF-8 names with umlauts, and the file bytes exactly as written (CR LF kept).

#include <windows.h>

#include <filesystem>
#include <string>

#include <gtest/gtest.h>

#include "key/core/errors.h"
#include "key/files/calculation_file.h"
#include "key/files/file_system.h"
#include "key/startup.h"
#include "support/temp_dir.h"

namespace brisolt {
namespace {

using testing::PathOf;
using testing::ReadBytes;
using testing::TempDir;

std::wstring Wide(const std::string& utf8) {
    return PathOf(utf8).wstring();
}

std::size_t FilesIn(const TempDir& dir) {
    return static_cast<std::size_t>(
        std::distance(std::filesystem::directory_iterator(PathOf(dir.File(""))),
                      std::filesystem::directory_iterator()));
}

std::string MessageOfReplace(const std::string& path, const std::string& bytes) {
    try {
        ReplaceFileAtomically(path, bytes);
    } catch (const FileError& e) {
        return e.what();
    }
    return "no error";
}

// Each case prepares an existing file in a way that keeps Windows from replacing it; the
// old content must survive, no temporary file may stay, and the message is German.
TEST(WindowsFileLayer, AFileThatCannotBeReplacedKeepsItsContent) {
    struct Case {
        const char* name;
        const char* message;
        bool readOnly;
        DWORD share; // sharing of a handle held open during the replace; 0: none held
    };
    const Case cases[] = {
        {"schreibgeschützt", "Dateizugriff verweigert", true, 0},
        {"offen ohne Teilen", "Die Datei wird von einem anderen Programm verwendet", false,
         FILE_SHARE_READ | FILE_SHARE_WRITE},
        {"offen mit Teilen", "Die Datei wird von einem anderen Programm verwendet", false,
         FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TempDir dir;
        const std::string path = dir.File(std::string(c.name) + ".txt");
        ReplaceFileAtomically(path, "alt\r\n");
        HANDLE held = INVALID_HANDLE_VALUE;
        if (c.readOnly) {
            ASSERT_TRUE(::SetFileAttributesW(Wide(path).c_str(), FILE_ATTRIBUTE_READONLY));
        } else {
            held = ::CreateFileW(Wide(path).c_str(), GENERIC_READ, c.share, nullptr, OPEN_EXISTING,
                                 FILE_ATTRIBUTE_NORMAL, nullptr);
            ASSERT_NE(held, INVALID_HANDLE_VALUE);
        }
        EXPECT_EQ(MessageOfReplace(path, "neu\r\n"), c.message);
        if (held != INVALID_HANDLE_VALUE) {
            ::CloseHandle(held);
        }
        ::SetFileAttributesW(Wide(path).c_str(), FILE_ATTRIBUTE_NORMAL);
        EXPECT_EQ(ReadBytes(path), "alt\r\n");
        EXPECT_EQ(FilesIn(dir), 1u) << "the temporary file was left behind";
    }
}

TEST(WindowsFileLayer, ReplacesAnExistingFileAndKeepsItsAttributes) {
    TempDir dir;
    const std::string path = dir.File("alt.txt");
    ReplaceFileAtomically(path, "alt\r\n");
    ASSERT_TRUE(::SetFileAttributesW(Wide(path).c_str(), FILE_ATTRIBUTE_HIDDEN));
    ReplaceFileAtomically(path, "neu\r\n");
    EXPECT_EQ(ReadBytes(path), "neu\r\n");
    EXPECT_TRUE(::GetFileAttributesW(Wide(path).c_str()) & FILE_ATTRIBUTE_HIDDEN);
    EXPECT_EQ(FilesIn(dir), 1u);
}

TEST(WindowsFileLayer, UmlautNamesAndCrLfBytesAsWritten) {
    TempDir dir;
    const std::string folder = dir.File("Ämter für Bödenschutz");
    ASSERT_TRUE(std::filesystem::create_directory(PathOf(folder)));
    const std::string path = folder + "\\Parzelle Müller–Weiß.txt";
    AssessmentRecord record = FreshRecord(2026);
    record.Remark = "Hangfuss, Mulde über 30 m";
    SaveCalculation(record, path);
    // The name on the disk is the wide form of the UTF-8 name, not its bytes in a code page.
    EXPECT_NE(
        ::GetFileAttributesW((Wide(folder) + L"\\Parzelle M\u00fcller\u2013Wei\u00df.txt").c_str()),
        INVALID_FILE_ATTRIBUTES);
    const std::string bytes = ReadBytes(path);
    EXPECT_EQ(bytes, CalculationFileBytes(record));
    EXPECT_EQ(bytes.find("\r\r\n"), std::string::npos);
    std::size_t lineEnds = 0;
    for (std::size_t i = 0; (i = bytes.find("\r\n", i)) != std::string::npos; i += 2) {
        ++lineEnds;
    }
    EXPECT_EQ(lineEnds, 85u);
    AssessmentRecord loaded = FreshRecord(2020);
    EXPECT_TRUE(LoadCalculation(loaded, path, 2020).loaded);
    EXPECT_EQ(loaded.Remark, record.Remark);
    EXPECT_EQ(CalculationFileBytes(loaded), bytes);
}

TEST(WindowsFileLayer, TheSystemGivesYearAndSeparator) {
    SYSTEMTIME now{};
    ::GetLocalTime(&now);
    EXPECT_EQ(SystemCalendarYear(), now.wYear);
    const char separator = SystemDecimalSeparator();
    EXPECT_TRUE(separator == ',' || separator == '.') << separator;
}

} // namespace
} // namespace brisolt
