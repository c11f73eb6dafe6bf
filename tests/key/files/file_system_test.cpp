// The edges of saving and loading against real files in a temporary folder: what a save
// may replace, what it leaves behind, and the German messages of operating-system errors.

#include "key/files/file_system.h"

#include <cerrno>
#include <filesystem>
#include <fstream>
#include <functional>
#include <sys/inotify.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <sys/un.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include "key/core/errors.h"
#include "key/files/calculation_file.h"
#include "key/startup.h"
#include "support/temp_dir.h"

namespace brisolt {
namespace {

namespace fs = std::filesystem;
using testing::ReadBytes;
using testing::TempDir;

const std::string kAccessDenied = "Dateizugriff verweigert";
const std::string kNotAFile = "Der Name bezeichnet keine gewöhnliche Datei";

std::string ErrorOf(const std::function<void()>& action) {
    try {
        action();
    } catch (const FileError& e) {
        return e.what();
    }
    return "no error";
}

// Temporary files a save left behind in the folder.
std::vector<std::string> Leftovers(const TempDir& dir) {
    std::vector<std::string> names;
    for (const auto& entry : fs::recursive_directory_iterator(dir.File(""))) {
        if (entry.path().filename().string().find("brisolt") != std::string::npos) {
            names.push_back(entry.path().filename().string());
        }
    }
    return names;
}

void MakeSocket(const std::string& path) {
    const int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    path.copy(address.sun_path, sizeof address.sun_path - 1);
    ASSERT_EQ(::bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
    ::close(fd);
}

TEST(ReplaceFile, WhatASaveMayReplace) {
    const std::string old = "alter Inhalt";
    const std::string fresh = "neuer Inhalt";
    struct Case {
        const char* name;
        std::function<std::string(const TempDir&)> prepare; // returns the name saved into
        std::string error;                                  // empty: the save succeeds
        std::function<void(const TempDir&)> check;
    };
    const Case cases[] = {
        {"read-only file",
         [&](const TempDir& d) {
             const std::string p = d.Write("nur-lesen.txt", old);
             fs::permissions(p, fs::perms::owner_read | fs::perms::group_read |
                                    fs::perms::others_read);
             return p;
         },
         kAccessDenied,
         [&](const TempDir& d) { EXPECT_EQ(ReadBytes(d.File("nur-lesen.txt")), old); }},
        {"symbolic link",
         [&](const TempDir& d) {
             d.Write("echt.txt", old);
             fs::create_symlink("echt.txt", d.File("link.txt"));
             return d.File("link.txt");
         },
         "",
         [&](const TempDir& d) {
             EXPECT_TRUE(fs::is_symlink(d.File("link.txt")));
             EXPECT_EQ(ReadBytes(d.File("echt.txt")), fresh);
         }},
        {"link to a file not there yet",
         [&](const TempDir& d) {
             fs::create_directory(d.File("unter"));
             fs::create_symlink("unter/neu.txt", d.File("link.txt"));
             return d.File("link.txt");
         },
         "",
         [&](const TempDir& d) {
             EXPECT_TRUE(fs::is_symlink(d.File("link.txt")));
             EXPECT_EQ(ReadBytes(d.File("unter/neu.txt")), fresh);
         }},
        {"second hard link keeps the old content",
         [&](const TempDir& d) {
             d.Write("a.txt", old);
             fs::create_hard_link(d.File("a.txt"), d.File("b.txt"));
             return d.File("a.txt");
         },
         "",
         [&](const TempDir& d) {
             EXPECT_EQ(ReadBytes(d.File("a.txt")), fresh);
             EXPECT_EQ(ReadBytes(d.File("b.txt")), old);
         }},
        {"FIFO",
         [&](const TempDir& d) {
             ::mkfifo(d.File("fifo").c_str(), 0644);
             return d.File("fifo");
         },
         kNotAFile, [&](const TempDir& d) { EXPECT_TRUE(fs::is_fifo(d.File("fifo"))); }},
        {"socket",
         [&](const TempDir& d) {
             MakeSocket(d.File("sock"));
             return d.File("sock");
         },
         kNotAFile, [&](const TempDir& d) { EXPECT_TRUE(fs::is_socket(d.File("sock"))); }},
        {"folder",
         [&](const TempDir& d) {
             fs::create_directory(d.File("ordner"));
             return d.File("ordner");
         },
         kNotAFile, [&](const TempDir& d) { EXPECT_TRUE(fs::is_directory(d.File("ordner"))); }},
        {"254-byte name", [&](const TempDir& d) { return d.File(std::string(250, 'n') + ".txt"); },
         "",
         [&](const TempDir& d) {
             EXPECT_EQ(ReadBytes(d.File(std::string(250, 'n') + ".txt")), fresh);
         }},
        {"setuid and setgid are dropped",
         [&](const TempDir& d) {
             const std::string p = d.Write("s.txt", old);
             ::chmod(p.c_str(), 06754);
             return p;
         },
         "",
         [&](const TempDir& d) {
             struct stat st {};
             ::stat(d.File("s.txt").c_str(), &st);
             EXPECT_EQ(st.st_mode & 07777, 0754u);
         }},
        {"missing folder", [&](const TempDir& d) { return d.File("fehlt/x.txt"); },
         "Pfad nicht gefunden", [&](const TempDir&) {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TempDir d;
        const std::string path = c.prepare(d);
        const std::string error = ErrorOf([&] { ReplaceFileAtomically(path, fresh); });
        EXPECT_EQ(error, c.error.empty() ? "no error" : c.error);
        c.check(d);
        EXPECT_EQ(Leftovers(d), std::vector<std::string>{});
    }
}

// A device as root: `brisolt-cli new /dev/null` must not replace it. Tried on a device of
// our own, where the system allows making one.
TEST(ReplaceFile, ADeviceIsNeverReplaced) {
    TempDir dir;
    const std::string device = dir.File("null");
    if (::mknod(device.c_str(), S_IFCHR | 0666, makedev(1, 3)) != 0) {
        GTEST_SKIP() << "cannot make a device here";
    }
    EXPECT_EQ(ErrorOf([&] { SaveCalculation(FreshRecord(2026), device); }), kNotAFile);
    EXPECT_TRUE(fs::is_character_file(device));
}

TEST(ReplaceFile, KeepsOwnerAndGroupAsRoot) {
    if (::geteuid() != 0) {
        GTEST_SKIP() << "only root may give a file to another user";
    }
    TempDir dir;
    const std::string path = dir.Write("fremd.txt", "alt");
    ASSERT_EQ(::chown(path.c_str(), 4321, 8765), 0);
    ReplaceFileAtomically(path, "neu");
    struct stat st {};
    ASSERT_EQ(::stat(path.c_str(), &st), 0);
    EXPECT_EQ(st.st_uid, 4321u);
    EXPECT_EQ(st.st_gid, 8765u);
    EXPECT_EQ(ReadBytes(path), "neu");
}

TEST(FileMessages, OperatingSystemErrorsHaveGermanTexts) {
    TempDir dir;
    fs::create_symlink("schleife2", dir.File("schleife1"));
    fs::create_symlink("schleife1", dir.File("schleife2"));
    MakeSocket(dir.File("sock"));
    const std::string tooLong = dir.File(std::string(300, 'x'));
    AssessmentRecord r = FreshRecord(2026);
    const auto load = [&](const std::string& p) {
        return ErrorOf([&] { LoadCalculation(r, p, 2026); });
    };
    const auto save = [&](const std::string& p) { return ErrorOf([&] { SaveCalculation(r, p); }); };
    EXPECT_EQ(load(dir.File("schleife1")), "Zu viele symbolische Verknüpfungen im Pfad");
    EXPECT_EQ(save(dir.File("schleife1")), "Zu viele symbolische Verknüpfungen im Pfad");
    EXPECT_EQ(load(tooLong), "Der Dateiname ist zu lang");
    EXPECT_EQ(save(tooLong), "Der Dateiname ist zu lang");
    EXPECT_EQ(load(dir.File("sock")), kNotAFile);
    EXPECT_EQ(save(dir.File("fehlt/neu.txt")), "Pfad nicht gefunden");
    EXPECT_EQ(OutputErrorText(ENOSPC), "Nicht genügend Speicherplatz auf dem Datenträger");
    EXPECT_EQ(OutputErrorText(EPIPE).rfind("E/A-Fehler ", 0), 0u) << "the number as a fallback";
}

// A huge file is refused at its first impossible line, without reading the rest: a sparse
// 2 GB file costs no more than a few megabytes.
TEST(LoadCalculation, AHugeFileIsRefusedAtItsFirstImpossibleLine) {
    TempDir dir;
    const std::string sparse = dir.File("riesig.txt");
    {
        std::ofstream out(sparse, std::ios::binary);
        out << "V2.02\r\n";
    }
    fs::resize_file(sparse, std::uintmax_t{2} << 30);
    AssessmentRecord r = FreshRecord(2026);
    const std::string kTooLong =
        "Die Datei enthält eine zu lange Zeile und kann nicht eingelesen werden.";
    EXPECT_EQ(ErrorOf([&] { LoadCalculation(r, sparse, 2026); }), kTooLong);
    fs::remove(sparse);
    const std::string line = dir.Write("zeile.txt", "V2.02\r\n" + std::string(17 << 20, 'x'));
    EXPECT_EQ(ErrorOf([&] { LoadCalculation(r, line, 2026); }), kTooLong);
}

} // namespace
} // namespace brisolt

namespace brisolt {
namespace {

// The names a save creates in its folder, in order, as the kernel reports them.
std::vector<std::string> NamesCreatedBy(const std::string& folder,
                                        const std::function<void()>& save) {
    const int fd = ::inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
    if (fd < 0) {
        return {"(inotify missing)"};
    }
    ::inotify_add_watch(fd, folder.c_str(), IN_CREATE | IN_MOVED_TO);
    save();
    std::vector<std::string> names;
    alignas(inotify_event) char buffer[8192];
    for (ssize_t n; (n = ::read(fd, buffer, sizeof buffer)) > 0;) {
        for (char* p = buffer; p < buffer + n;) {
            const auto* event = reinterpret_cast<const inotify_event*>(p);
            names.push_back(event->len > 0 ? event->name : "");
            p += sizeof(inotify_event) + event->len;
        }
    }
    ::close(fd);
    return names;
}

// A kill can come at any moment of a save; a temporary name that never exists cannot be
// left behind. A new file appears under its own name only; a replaced one needs a name for
// the rename, and has it only for that moment.
TEST(FileSystem, ANewFileNeverHasATemporaryName) {
    TempDir dir;
    const std::string path = dir.File("neu.txt");
    EXPECT_EQ(NamesCreatedBy(dir.File(""), [&] { ReplaceFileAtomically(path, "eins"); }),
              std::vector<std::string>{"neu.txt"});
    const std::vector<std::string> replacing =
        NamesCreatedBy(dir.File(""), [&] { ReplaceFileAtomically(path, "zwei"); });
    ASSERT_EQ(replacing.size(), 2u);
    EXPECT_EQ(replacing[0].rfind(".~brisolt", 0), 0u) << replacing[0];
    EXPECT_EQ(replacing[1], "neu.txt");
    EXPECT_EQ(ReadBytes(path), "zwei");
    EXPECT_TRUE(Leftovers(dir).empty());
}

} // namespace
} // namespace brisolt
