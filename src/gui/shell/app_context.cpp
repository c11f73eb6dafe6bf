#include "gui/shell/app_context.h"

#include <QApplication>
#include <QDir>
#include <QEvent>
#include <QFile>
#include <QFileInfo>
#include <QScreen>
#include <QSettings>

#include "gui/files/file_dialogs.h"
#include "gui/files/file_window.h"
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

// The replacements a session can undo; older ones are dropped.
constexpr std::size_t kUndoDepth = 100;

AppContext::Replaced AppContext::Current() const {
    // The record carries what its file holds, so an assessment brought back knows whether it
    // is saved.
    return Replaced{record, currentFile, variantOf, proposedName};
}

void AppContext::Restore(Replaced state) {
    record = std::move(state.record);
    currentFile = std::move(state.file);
    variantOf = std::move(state.variantOf);
    proposedName = std::move(state.proposedName);
    FileChanged();
}

void AppContext::KeepForUndo(Replaced state) {
    undo_.push_back(std::move(state));
    if (undo_.size() > kUndoDepth) {
        undo_.erase(undo_.begin());
    }
    redo_.clear();
}

void AppContext::ReplaceRecord(AssessmentRecord next, QString file) {
    KeepForUndo(Current());
    Restore(Replaced{std::move(next), std::move(file), {}, {}});
}

void AppContext::ReplaceByLoad(AssessmentRecord loaded, const QString& path) {
    KeepForUndo(Current());
    record = std::move(loaded);
    SetFile(path);
}

void AppContext::AdoptVariant(AssessmentRecord next, const QString& suffix) {
    KeepForUndo(Current());
    // Today's file stays as it is: the variant is saved only under a name of its own,
    // proposed beside the file it was made from.
    const QString from = currentFile.isEmpty() ? variantOf : currentFile;
    QString proposal = suffix + ".txt";
    if (!from.isEmpty()) {
        const QFileInfo info(from);
        proposal = QDir::toNativeSeparators(
            info.dir().filePath(info.completeBaseName() + '_' + suffix + ".txt"));
    }
    Restore(Replaced{std::move(next), {}, from, proposal});
}

bool AppContext::Undo() {
    if (undo_.empty()) {
        return false;
    }
    redo_.push_back(Current());
    Replaced state = std::move(undo_.back());
    undo_.pop_back();
    Restore(std::move(state));
    return true;
}

bool AppContext::Redo() {
    if (redo_.empty()) {
        return false;
    }
    undo_.push_back(Current());
    Replaced state = std::move(redo_.back());
    redo_.pop_back();
    Restore(std::move(state));
    return true;
}

bool AppContext::MayReplace(QWidget* parent, std::string_view question) {
    if (!HasUnsavedChanges(record)) {
        return true;
    }
    const QString asked = Q(question.empty() ? texts::mainwindow::kReplaceUnsaved : question);
    switch (Messages::AskToSave(parent, asked)) {
    case Messages::SaveAnswer::Discard:
        return true;
    case Messages::SaveAnswer::Cancel:
        return false;
    case Messages::SaveAnswer::Save:
        break;
    }
    // The assessment as it is goes to its own file; one without a file is named first.
    return currentFile.isEmpty() ? SaveUnderNewName(parent) : WriteFile(parent, currentFile);
}

bool AppContext::WriteFile(QWidget* parent, const QString& path) {
    try {
        SaveCalculation(record, LocalPath(path));
    } catch (const std::exception& error) {
        Messages::ShowError(parent, QString::fromStdString(MessageOf(error)));
        return false;
    }
    SetFile(path);
    return true;
}

void AppContext::SetFile(const QString& path) {
    // A variant saved under its own name is an assessment of that file from now on.
    variantOf.clear();
    proposedName.clear();
    NoteFile(path);
}

bool AppContext::Save(QWidget* parent) {
    if (!currentFile.isEmpty()) {
        return WriteFile(parent, currentFile);
    }
    if (auto* save = qobject_cast<TfrmSave*>(Screen(ScreenId::Save))) {
        save->Propose(proposedName);
    }
    ShowOnTop(ScreenId::Save);
    return false;
}

bool AppContext::SaveUnderNewName(QWidget* parent) {
    FileDialogRequest request;
    request.save = true;
    request.caption = Q(texts::filewindows::kSaveCaption);
    request.proposedName = !proposedName.isEmpty() ? proposedName : currentFile;
    request.nameFilters = FileWindow::CalculationFileFilters();
    request.selectedFilter = request.nameFilters.constLast();
    request.defaultSuffix = Q(texts::filewindows::kDefaultExtension);
    const QString path = AskForFile(parent, request);
    return !path.isEmpty() && WriteFile(parent, path);
}

QString AppContext::TitleName() const {
    if (!currentFile.isEmpty()) {
        return QFileInfo(currentFile).fileName();
    }
    if (!variantOf.isEmpty() || !proposedName.isEmpty()) {
        const QString from =
            variantOf.isEmpty() ? QString() : QFileInfo(variantOf).fileName() + ' ';
        return from + Q(texts::mainwindow::kUnsavedVariant);
    }
    return {};
}

QString AppContext::TitleSuffix() const {
    const QString name = TitleName();
    return (name.isEmpty() ? QString() : QStringLiteral(" – ") + name) +
           (HasUnsavedChanges(record) ? QStringLiteral("*") : QString());
}

void AppContext::UpdateTitles() const {
    const QString suffix = TitleSuffix();
    for (std::size_t i = 0; i < screens_.size(); ++i) {
        auto* screen = qobject_cast<WizardScreen*>(screens_[i].data());
        if (screen != nullptr && static_cast<ScreenId>(i) != ScreenId::Main) {
            screen->SetTitleSuffix(suffix);
        }
    }
    for (const auto& [window, caption] : titleFollowers_) {
        if (window != nullptr && window->windowTitle() != caption + suffix) {
            window->setWindowTitle(caption + suffix);
        }
    }
}

void AppContext::FollowTitle(QWidget* window, const QString& caption) {
    titleFollowers_.emplace_back(window, caption);
    window->setWindowTitle(caption + TitleSuffix());
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

void AppContext::ForgetRecentFile(const QString& path) {
    QSettings settings;
    QStringList recent = settings.value(kRecentKey).toStringList();
    recent.removeAll(path);
    settings.setValue(kRecentKey, recent);
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
    // Unknown (Qt gives nothing, or -1 x -1, for a window not framed yet) counts as none.
    const auto extra = [](const QWidget* w) {
        const QSize e = w->frameGeometry().size() - w->size();
        return e.width() > 0 || e.height() > 0 ? e : QSize();
    };
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

// Centres a window again as soon as its frame is known, unless it has been moved meanwhile.
class RecentreWhenFramed : public QObject {
public:
    RecentreWhenFramed(QWidget* window, QPoint placed) : QObject(window), placed_(placed) {}

    bool eventFilter(QObject* watched, QEvent* event) override {
        auto* window = qobject_cast<QWidget*>(watched);
        const QEvent::Type type = event->type();
        if (window == nullptr || (type != QEvent::Move && type != QEvent::Resize &&
                                  type != QEvent::WindowActivate && type != QEvent::Expose)) {
            return false;
        }
        const QSize extra = window->frameGeometry().size() - window->size();
        if (extra.width() <= 0 && extra.height() <= 0) {
            return false;
        }
        if (window->pos() == placed_ || window->frameGeometry().topLeft() == placed_) {
            if (const QScreen* screen = window->screen()) {
                QRect frame = window->frameGeometry();
                frame.moveCenter(screen->availableGeometry().center());
                window->move(frame.topLeft());
            }
        }
        deleteLater();
        window->removeEventFilter(this);
        return false;
    }

private:
    QPoint placed_;
};

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
            if (extra.isNull()) {
                // The first window: its frame is known only once the window system has framed
                // it. Centred without it, the main window would sit half a title bar lower than
                // the wizard screens and peek out below them; it is centred again then.
                window->installEventFilter(new RecentreWhenFramed(window, frame.topLeft()));
            }
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
