#include "gui/shell/app_context.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QScreen>
#include <QSettings>

#include "gui/files/file_dialogs.h"
#include "gui/shell/messages.h"
#include "gui/shell/qt_text.h"
#include "gui/shell/wizard_screen.h"
#include "key/core/errors.h"
#include "key/core/texts.h"
#include "key/files/calculation_file.h"
#include "key/startup.h"

namespace brisolt::gui {

AppContext::AppContext(Int year) : startYear(year) {
    InitialiseRecord(record, year);
}

namespace {
// The shell's settings: the recently opened files (the folder used last is kept with the file
// dialogs; the elevation-model window of step 1 keeps its files under "terrain/").
constexpr const char* kRecentKey = "recentFiles";
} // namespace

void AppContext::KeepForUndo() {
    undo_ = Replaced{record, currentFile};
}

void AppContext::ReplaceRecord(AssessmentRecord next, QString file) {
    undo_ = Replaced{std::move(record), std::move(currentFile)};
    record = std::move(next);
    currentFile = std::move(file);
    FileChanged();
}

bool AppContext::Undo() {
    if (!undo_) {
        return false;
    }
    record = std::move(undo_->record);
    currentFile = std::move(undo_->file);
    undo_.reset();
    FileChanged();
    return true;
}

bool AppContext::MayReplace(QWidget* parent) {
    if (!HasUnsavedChanges(record)) {
        return true;
    }
    switch (Messages::AskToSave(parent, Q(texts::mainwindow::kReplaceUnsaved))) {
    case Messages::SaveAnswer::Discard:
        return true;
    case Messages::SaveAnswer::Cancel:
        return false;
    case Messages::SaveAnswer::Save:
        break;
    }
    if (currentFile.isEmpty()) {
        // No file yet: the user names one in the save window and then repeats the command.
        ShowOnTop(ScreenId::Save);
        return false;
    }
    try {
        SaveCalculation(record, LocalPath(currentFile));
    } catch (const std::exception& error) {
        Messages::ShowError(parent, QString::fromStdString(MessageOf(error)));
        return false;
    }
    NoteFile(currentFile);
    return true;
}

void AppContext::NoteFile(const QString& path) {
    currentFile = QDir::toNativeSeparators(QFileInfo(path).absoluteFilePath());
    QSettings settings;
    QStringList recent = settings.value(kRecentKey).toStringList();
    recent.removeAll(currentFile);
    recent.prepend(currentFile);
    while (recent.size() > kRecentFiles) {
        recent.removeLast();
    }
    settings.setValue(kRecentKey, recent);
    NoteFolder(path);
    FileChanged();
}

QStringList AppContext::RecentFiles() {
    return QSettings().value(kRecentKey).toStringList();
}

void AppContext::FileChanged() const {
    if (fileChanged) {
        fileChanged();
    }
}

void AppContext::Register(ScreenId id, QWidget* window) {
    screens_[static_cast<std::size_t>(id)] = window;
}

QWidget* AppContext::Screen(ScreenId id) const {
    return screens_[static_cast<std::size_t>(id)];
}

namespace {

// What the window system's frame adds to a window: known once a window has been shown, so
// a window shown for the first time borrows it from one already on the screen.
QSize FrameExtra(const QWidget* window) {
    const auto extra = [](const QWidget* w) { return w->frameGeometry().size() - w->size(); };
    if (!extra(window).isNull()) {
        return extra(window);
    }
    for (const QWidget* other : QApplication::topLevelWidgets()) {
        if (other->isVisible() && !extra(other).isNull()) {
            return extra(other);
        }
    }
    return {};
}

} // namespace

void AppContext::ShowOnTop(QWidget* window) {
    if (window == nullptr) {
        return;
    }
    // Every window opens centred on the screen the first time it is shown, and fits on it.
    if (!window->property("brisoltPlaced").toBool()) {
        window->setProperty("brisoltPlaced", true);
        window->adjustSize();
        if (const QScreen* screen = QGuiApplication::primaryScreen()) {
            const QRect available = screen->availableGeometry();
            const QSize extra = FrameExtra(window);
            if (auto* wizard = qobject_cast<WizardScreen*>(window)) {
                wizard->FitInto(available.size() - extra);
            } else {
                // A window of wrapping texts (measures, comparison) would otherwise shrink to
                // the height its texts need at the least; it opens at the size it asks for.
                window->resize(window->size()
                                   .expandedTo(window->sizeHint())
                                   .boundedTo(available.size() - extra));
            }
            QRect frame(window->pos(), window->size() + extra);
            frame.moveCenter(available.center());
            window->move(frame.topLeft());
        }
    }
    window->show();
    window->raise();
    window->activateWindow();
}

void AppContext::ShowOnTop(ScreenId target) {
    ShowOnTop(Screen(target));
}

void AppContext::Navigate(QWidget* from, ScreenId target) {
    QWidget* to = Screen(target);
    ShowOnTop(to);
    if (from != nullptr && from != to) {
        from->hide();
    }
}

void AppContext::OpenHelpPage(int page) const {
    if (openHelpPage) {
        openHelpPage(page);
    }
}

void AppContext::OpenEvaluationProtocol() const {
    if (openEvaluationProtocol) {
        openEvaluationProtocol();
    }
}

void AppContext::OpenComparison() const {
    if (openComparison) {
        openComparison();
    }
}

void AppContext::OpenMeasuresSheet() const {
    if (openMeasuresSheet) {
        openMeasuresSheet();
    }
}

void AppContext::OpenMeasures() const {
    if (openMeasures) {
        openMeasures();
    }
}

void AppContext::OpenRotationSheet() const {
    if (openRotationSheet) {
        openRotationSheet();
    }
}

} // namespace brisolt::gui
