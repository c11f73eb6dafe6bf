#pragma once
// What every window shares: the one assessment, the windows by name, and the hooks through
// which windows built elsewhere (help pages, report previews) are opened.

#include <QPointer>
#include <QString>
#include <QStringList>
#include <QWidget>
#include <array>
#include <functional>
#include <optional>

#include "key/core/record.h"

namespace brisolt::gui {

enum class ScreenId {
    Main,
    Intro,
    Business,
    Step1,
    Step2,
    Step3,
    Step4,
    Step5,
    Step6,
    Step7,
    Open,
    Save,
    Count
};

class AppContext {
public:
    explicit AppContext(Int startYear);

    AssessmentRecord record;
    const Int startYear; // the calendar year at program start: defaults of a fresh assessment

    // The calculation file the assessment was last loaded from or saved to; empty for a new
    // one.
    QString currentFile;

    // Replaces the whole assessment (measures adopted, "Neu"); the one before can be brought
    // back with Undo.
    void ReplaceRecord(AssessmentRecord next, QString file);
    // Keeps the assessment as it is now for Undo (before a load changes it in place).
    void KeepForUndo();
    bool CanUndo() const { return undo_.has_value(); }
    // Brings back the assessment before the last replacement; false when there is none.
    bool Undo();

    // Before unsaved work is replaced: asks whether to save it first. True when the caller
    // may go on (nothing unsaved, saved, or the user does not want it); false when the user
    // cancels or saving could not be done at once (the save window then opens).
    bool MayReplace(QWidget* parent);

    // A file was loaded or saved: it becomes the current file, heads the recently opened
    // files and its folder is where the file dialogs open next.
    void NoteFile(const QString& path);
    // Recently opened or saved files, the last first (at most kRecentFiles).
    static QStringList RecentFiles();
    static constexpr int kRecentFiles = 8;
    // Called when the current file or the assessment as a whole changes (the title).
    std::function<void()> fileChanged;

    void Register(ScreenId id, QWidget* window);
    QWidget* Screen(ScreenId id) const;

    // Moves from one window to another: shows the target (brought to the front and made
    // active), then hides `from` (nothing hidden when it is null).
    void Navigate(QWidget* from, ScreenId target);
    // Shows a window on top of the others without hiding anything.
    void ShowOnTop(ScreenId target);
    static void ShowOnTop(QWidget* window);

    // Hooks for the windows made elsewhere: help pages, report previews, the measures. The
    // application sets them at start; a command whose hook is not set does nothing.
    std::function<void(int page)> openHelpPage;
    std::function<void()> openEvaluationProtocol;
    std::function<void()> openRotationSheet;
    std::function<void()> openMeasures;
    std::function<void()> openComparison;
    std::function<void()> openMeasuresSheet;

    void OpenHelpPage(int page) const;
    void OpenEvaluationProtocol() const;
    void OpenRotationSheet() const;
    void OpenMeasures() const;
    void OpenComparison() const;
    void OpenMeasuresSheet() const;

private:
    void FileChanged() const;

    std::array<QPointer<QWidget>, static_cast<std::size_t>(ScreenId::Count)> screens_{};
    struct Replaced {
        AssessmentRecord record;
        QString file;
    };
    std::optional<Replaced> undo_;
};

// Page numbers of the help windows the screens open.
namespace help {
inline constexpr int kImprint = 114;
inline constexpr int kRegion = 116;
inline constexpr int kGradient = 107;
inline constexpr int kFloatDistance = 106;
inline constexpr int kSoilType = 130;
inline constexpr int kStones = 103;
inline constexpr int kRotation = 110;
inline constexpr int kRills = 111;
inline constexpr int kSoilLoss = 104;
inline constexpr int kSoilDepth = 102;
inline constexpr int kFertilityRisk = 105;
inline constexpr int kMeasures = 137;
} // namespace help

} // namespace brisolt::gui
