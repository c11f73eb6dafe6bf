#pragma once
// Where a file name crosses from Qt to the file layer (and GDAL), and the one way every window
// asks the user for a file.

#include <QString>
#include <QStringList>
#include <functional>
#include <string>
#include <string_view>

class QWidget;

namespace brisolt::gui {

// A path as the file layer and GDAL take it: UTF-8 on Windows (the file layer widens it
// itself), and on Linux the very bytes the file system has. Qt would turn a Linux name that is
// not UTF-8 into replacement characters, so such bytes travel through a QString as the lone
// surrogates U+DC80..U+DCFF (as Python's "surrogateescape" does) and come back unchanged.
std::string LocalPath(const QString& path);
QString PathFromLocal(std::string_view local);
// Whether the path names a regular file (a name that is not UTF-8 included).
bool IsExistingFile(const QString& path);

// What a window asks of the file dialog.
struct FileDialogRequest {
    bool save = false;           // save dialog (asks before replacing a file); else open dialog
    bool many = false;           // open dialog: several files may be chosen
    bool folder = false;         // open dialog: a folder is chosen, not a file
    bool refuseReadOnly = false; // open dialog: a write-protected file or folder is refused
    QString caption;
    QString proposedName;    // a name, or a full path whose folder the dialog opens in
    QStringList nameFilters; // as the dialog lists them
    QString selectedFilter;  // preselected
    QString defaultSuffix;   // appended to a name typed without extension
};

// Returns the chosen paths (native separators), empty when the user cancels. The platform's
// own dialog opens in the folder of the proposed name, else the folder used last, else the
// user's documents, never the program's folder. A file the request refuses is named in a
// message and the dialog opens again.
QStringList AskForFiles(QWidget* parent, const FileDialogRequest& request);
QString AskForFile(QWidget* parent, const FileDialogRequest& request);

// Where the dialogs start when no name proposes a folder.
QString StartFolder();
// A file was chosen or written: its folder is where the next dialog starts.
void NoteFolder(const QString& path);

// Replaces the dialog itself (tests answer without a modal window); an empty function brings
// the platform's dialog back. The checks after the choice run on the answer all the same.
using FileDialog = std::function<QStringList(QWidget* parent, const FileDialogRequest&)>;
void SetFileDialog(FileDialog dialog);

} // namespace brisolt::gui
