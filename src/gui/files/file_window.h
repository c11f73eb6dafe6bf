#pragma once
// The small load and save windows: "Datei", the file name field, the folder button and
// "Schliessen".

#include <QWidget>

#include "gui/shell/app_context.h"

class QLineEdit;
class QPushButton;

namespace brisolt::gui {

class FileWindow : public QWidget {
    Q_OBJECT
public:
    FileWindow(AppContext& context, ScreenId id, const QString& caption);

    QLineEdit* FileName() const { return fileName_; }
    QPushButton* FolderButton() const { return folder_; }

protected:
    AppContext& Context() { return context_; }
    // The folder button's command.
    virtual void FolderClick() = 0;
    void closeEvent(QCloseEvent* event) override;

private:
    AppContext& context_;
    QLineEdit* fileName_;
    QPushButton* folder_;
};

class TfrmOpen : public FileWindow {
    Q_OBJECT
public:
    explicit TfrmOpen(AppContext& context);

protected:
    void FolderClick() override;
};

class TfrmSave : public FileWindow {
    Q_OBJECT
public:
    explicit TfrmSave(AppContext& context);

protected:
    void FolderClick() override;
    void changeEvent(QEvent* event) override;
};

} // namespace brisolt::gui
