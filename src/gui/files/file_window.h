#pragma once
// The small load and save windows: "Datei", the file name field, the folder button and
// "Schliessen".

#include <QString>
#include <QStringList>
#include <QWidget>
#include <functional>

#include "gui/files/file_dialogs.h"
#include "gui/shell/app_context.h"

class QLineEdit;
class QPushButton;

namespace brisolt::gui {

class FileWindow : public QWidget {
    Q_OBJECT
public:
    // Returns the chosen full path, or an empty text when the user cancels.
    using FileDialog = std::function<QString(QWidget* parent, const FileDialogRequest&)>;

    FileWindow(AppContext& context, const QString& caption);

    QLineEdit* FileName() const { return fileName_; }

    // Replaces the platform's file dialog (tests answer it without a modal window); an
    // empty function restores the real dialog.
    static void SetFileDialog(FileDialog dialog);

    // The three file types of calculation files, as the dialogs list them; TXT is the last.
    static QStringList CalculationFileFilters();

protected:
    AppContext& Context() { return context_; }
    // Asks the user for a file; empty when cancelled.
    QString AskForFile(bool save);
    // The folder button's command.
    virtual void FolderClick() = 0;
    // While the folder button's command or its error box runs.
    bool InCommand() const { return inCommand_; }
    // Whether the name in the field was typed by the user (and not yet used).
    bool Typed() const { return typed_; }
    void SetTyped(bool typed) { typed_ = typed; }
    void closeEvent(QCloseEvent* event) override;
    void showEvent(QShowEvent* event) override;
    // Escape closes the window, as "Schliessen" does.
    void keyPressEvent(QKeyEvent* event) override;

private slots:
    // Runs FolderClick guarded; Enter in the name field presses the button.
    void bbtFolderClick();

private:
    AppContext& context_;
    QLineEdit* fileName_;
    QPushButton* folder_;
    bool inCommand_ = false;
    bool typed_ = false;
};

class TfrmOpen : public FileWindow {
    Q_OBJECT
public:
    explicit TfrmOpen(AppContext& context);

    // Loads a file as the folder button does once it has a name: asks first when the
    // assessment has unsaved changes (unless `ask` is false, at program start); a failure
    // shows the error box. Used by the recently opened files and the command line.
    void LoadFile(const QString& path, bool ask = true);

protected:
    void FolderClick() override;
};

class TfrmSave : public FileWindow {
    Q_OBJECT
public:
    explicit TfrmSave(AppContext& context);

    // The name the folder button's dialog proposes next (a variant's "…_ziel_1A.txt"); it
    // stays in the field when the window opens.
    void Propose(const QString& name);

protected:
    void FolderClick() override;
    void changeEvent(QEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    // The window lost the activation to a box or dialog of its own command; getting it
    // back from there is not the user returning to the window.
    bool lostToOwnDialog_ = false;
};

} // namespace brisolt::gui
