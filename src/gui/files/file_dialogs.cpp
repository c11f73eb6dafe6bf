#include "gui/files/file_dialogs.h"

#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QSettings>
#include <QStandardPaths>
#include <algorithm>
#include <filesystem>
#include <system_error>

#include "gui/shell/messages.h"
#include "gui/shell/qt_text.h"
#include "key/core/texts.h"
#include "key/files/file_system.h"

namespace brisolt::gui {

namespace {

constexpr char16_t kEscapeBase = 0xDC00; // lone low surrogates stand for undecodable bytes
constexpr const char* kFolderKey = "lastFolder";

FileDialog& CurrentDialog() {
    static FileDialog dialog;
    return dialog;
}

#ifndef _WIN32
// Length of the well-formed UTF-8 sequence at `p` (1 to 4), or 0 when it is not one
// (overlong forms, surrogates and values beyond U+10FFFF included).
std::size_t Utf8SequenceAt(const unsigned char* p, std::size_t left) {
    const unsigned char c = p[0];
    std::size_t length = 0;
    char32_t min = 0;
    char32_t value = 0;
    if (c < 0x80) {
        return 1;
    } else if ((c & 0xE0) == 0xC0) {
        length = 2, min = 0x80, value = c & 0x1F;
    } else if ((c & 0xF0) == 0xE0) {
        length = 3, min = 0x800, value = c & 0x0F;
    } else if ((c & 0xF8) == 0xF0) {
        length = 4, min = 0x10000, value = c & 0x07;
    } else {
        return 0;
    }
    if (left < length) {
        return 0;
    }
    for (std::size_t i = 1; i < length; ++i) {
        if ((p[i] & 0xC0) != 0x80) {
            return 0;
        }
        value = (value << 6) | (p[i] & 0x3F);
    }
    if (value < min || value > 0x10FFFF || (value >= 0xD800 && value <= 0xDFFF)) {
        return 0;
    }
    return length;
}
#endif

bool WriteProtected(const QFileInfo& info) {
    // (WriteUser is left out: Qt asks the system for it, which says yes to root.)
    constexpr QFileDevice::Permissions kAnyWrite =
        QFileDevice::WriteOwner | QFileDevice::WriteGroup | QFileDevice::WriteOther;
    // Marked read-only (no write bit for anyone, the Windows attribute) or not writable for
    // this user.
    return (info.permissions() & kAnyWrite) == 0 || !info.isWritable();
}

QString FolderOf(const QString& proposed) {
    if (proposed.isEmpty()) {
        return {};
    }
    const QFileInfo info(proposed);
    if (info.isRelative()) {
        return {};
    }
    if (info.isDir()) {
        return info.absoluteFilePath();
    }
    return info.absoluteDir().exists() ? info.absolutePath() : QString();
}

QStringList PlatformDialog(QWidget* parent, const FileDialogRequest& request) {
    // The platform's own dialog where there is one (the Explorer's on Windows); Qt's where the
    // desktop offers none.
    QFileDialog dialog(parent, request.caption);
    dialog.setOption(QFileDialog::HideNameFilterDetails);
    dialog.setNameFilters(request.nameFilters);
    if (!request.selectedFilter.isEmpty()) {
        dialog.selectNameFilter(request.selectedFilter);
    }
    dialog.setDefaultSuffix(request.defaultSuffix);
    if (request.save) {
        dialog.setAcceptMode(QFileDialog::AcceptSave);
        dialog.setFileMode(QFileDialog::AnyFile); // asks before replacing a file
    } else if (request.folder) {
        dialog.setAcceptMode(QFileDialog::AcceptOpen);
        dialog.setFileMode(QFileDialog::Directory);
        dialog.setOption(QFileDialog::ShowDirsOnly);
    } else {
        dialog.setAcceptMode(QFileDialog::AcceptOpen);
        dialog.setFileMode(request.many ? QFileDialog::ExistingFiles : QFileDialog::ExistingFile);
    }
    const QString folder = FolderOf(request.proposedName);
    dialog.setDirectory(folder.isEmpty() ? StartFolder() : folder);
    const QFileInfo proposed(request.proposedName);
    if (!request.proposedName.isEmpty() && !proposed.isDir() && !request.folder) {
        // Folder and name apart: the dialog drops a full path to a file that does not exist.
        dialog.selectFile(proposed.fileName());
    }
    if (dialog.exec() != QDialog::Accepted) {
        return {};
    }
    return dialog.selectedFiles();
}

} // namespace

std::string LocalPath(const QString& path) {
#ifdef _WIN32
    return path.toStdString();
#else
    std::string out;
    out.reserve(static_cast<std::size_t>(path.size()));
    const QChar* p = path.constData();
    const qsizetype n = path.size();
    for (qsizetype i = 0; i < n; ++i) {
        const char16_t u = p[i].unicode();
        char32_t c = u;
        if (QChar::isHighSurrogate(u) && i + 1 < n && QChar::isLowSurrogate(p[i + 1].unicode())) {
            c = QChar::surrogateToUcs4(u, p[++i].unicode());
        } else if (u >= kEscapeBase + 0x80 && u <= kEscapeBase + 0xFF) {
            out.push_back(static_cast<char>(u - kEscapeBase)); // a byte that was not UTF-8
            continue;
        } else if (QChar::isSurrogate(u)) {
            c = 0xFFFD;
        }
        if (c < 0x80) {
            out.push_back(static_cast<char>(c));
        } else if (c < 0x800) {
            out.push_back(static_cast<char>(0xC0 | (c >> 6)));
            out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
        } else if (c < 0x10000) {
            out.push_back(static_cast<char>(0xE0 | (c >> 12)));
            out.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
            out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
        } else {
            out.push_back(static_cast<char>(0xF0 | (c >> 18)));
            out.push_back(static_cast<char>(0x80 | ((c >> 12) & 0x3F)));
            out.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
            out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
        }
    }
    return out;
#endif
}

QString PathFromLocal(std::string_view local) {
#ifdef _WIN32
    return QString::fromUtf8(local.data(), static_cast<qsizetype>(local.size()));
#else
    QString out;
    out.reserve(static_cast<qsizetype>(local.size()));
    const auto* bytes = reinterpret_cast<const unsigned char*>(local.data());
    std::size_t i = 0;
    while (i < local.size()) {
        const std::size_t length = Utf8SequenceAt(bytes + i, local.size() - i);
        if (length == 0) {
            out.append(QChar(static_cast<char16_t>(kEscapeBase + bytes[i])));
            ++i;
            continue;
        }
        out.append(QString::fromUtf8(local.data() + i, static_cast<qsizetype>(length)));
        i += length;
    }
    return out;
#endif
}

bool IsExistingFile(const QString& path) {
    if (path.isEmpty()) {
        return false;
    }
    std::error_code error;
    return std::filesystem::is_regular_file(PathFromUtf8(LocalPath(path)), error);
}

QString StartFolder() {
    const QString last = QSettings().value(kFolderKey).toString();
    if (!last.isEmpty() && QFileInfo(last).isDir()) {
        return last;
    }
    const QString documents = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    if (!documents.isEmpty() && QFileInfo(documents).isDir()) {
        return documents;
    }
    return QDir::homePath();
}

void NoteFolder(const QString& path) {
    const QFileInfo info(path);
    QSettings().setValue(kFolderKey, info.isDir() ? info.absoluteFilePath() : info.absolutePath());
}

void SetFileDialog(FileDialog dialog) {
    CurrentDialog() = std::move(dialog);
}

QStringList AskForFiles(QWidget* parent, const FileDialogRequest& request) {
    FileDialogRequest asked = request;
    for (;;) {
        const FileDialog& dialog = CurrentDialog();
        QStringList chosen = dialog ? dialog(parent, asked) : PlatformDialog(parent, asked);
        chosen.removeAll(QString());
        if (chosen.isEmpty()) {
            return {};
        }
        for (QString& path : chosen) {
            path = QDir::toNativeSeparators(path);
        }
        if (asked.refuseReadOnly && !asked.save) {
            // The load dialog takes only files that could be written back where they are.
            const auto refused = std::find_if(chosen.cbegin(), chosen.cend(), [](const QString& p) {
                const QFileInfo file(p);
                return file.exists() &&
                       (WriteProtected(file) || WriteProtected(QFileInfo(file.absolutePath())));
            });
            if (refused != chosen.cend()) {
                Messages::Show(parent, Q(texts::filewindows::kReadOnlyRefused(
                                           U(QFileInfo(*refused).fileName()))));
                asked.proposedName = *refused;
                if (dialog) {
                    return {}; // a test's answer would only come again
                }
                continue;
            }
        }
        NoteFolder(chosen.constFirst());
        return chosen;
    }
}

QString AskForFile(QWidget* parent, const FileDialogRequest& request) {
    FileDialogRequest single = request;
    single.many = false;
    const QStringList chosen = AskForFiles(parent, single);
    return chosen.isEmpty() ? QString() : chosen.constFirst();
}

} // namespace brisolt::gui
