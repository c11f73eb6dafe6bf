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
#include <string_view>
#include <vector>

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

    // The calculation file the assessment was last loaded from or saved to, where "Speichern"
    // writes; empty for a new one and for a variant made by adopting measures.
    QString currentFile;
    // A variant made by adopting measures: the file it was made from (for the title) and the
    // name its first save proposes ("Oberfeld_Ist_ziel_1A.txt" beside it). Empty otherwise.
    QString variantOf;
    QString proposedName;

    // Replaces the whole assessment ("Neu"); Undo brings the one before back.
    void ReplaceRecord(AssessmentRecord next, QString file);
    // Measures adopted: the assessment becomes a new, unsaved variant of the current one,
    // which is never its save target; `suffix` names the variant's file ("ziel_1A").
    void AdoptVariant(AssessmentRecord next, const QString& suffix);
    // A file was loaded into `loaded`: it replaces the assessment (which Undo brings back) and
    // is that file's assessment.
    void ReplaceByLoad(AssessmentRecord loaded, const QString& path);
    // Every replacement of the session can be undone, one after the other, and redone.
    bool CanUndo() const { return !undo_.empty(); }
    bool CanRedo() const { return !redo_.empty(); }
    bool Undo();
    bool Redo();

    // Before unsaved work is replaced: asks whether to save it first (Speichern, Nicht
    // speichern, Abbrechen). True when the caller may go on (nothing unsaved, saved, or the
    // user does not want it); false when the user cancels or the save fails. "Speichern" saves
    // to the assessment's own file, or asks for a name when it has none.
    bool MayReplace(QWidget* parent, std::string_view question = {});

    // "Speichern": writes the assessment to its file at once, without asking; without a file
    // the save window opens (with the variant's proposed name). True when it was written.
    bool Save(QWidget* parent);
    // Asks for a name with the file dialog (proposing the variant's name), then saves there.
    // True when it was written.
    bool SaveUnderNewName(QWidget* parent);
    // What the windows' titles add for the assessment: " – Oberfeld.txt", " – Oberfeld.txt
    // (Variante, nicht gespeichert)", and "*" while it has unsaved changes; empty for a new
    // assessment without changes.
    QString TitleSuffix() const;
    // The file's name, or "Oberfeld.txt (Variante, nicht gespeichert)"; empty for a new one.
    QString TitleName() const;
    // Puts the suffix into the titles of every wizard screen and of the windows that follow.
    void UpdateTitles() const;
    // A window whose title is `caption` followed by the suffix (the measures window).
    void FollowTitle(QWidget* window, const QString& caption);

    // The assessment was loaded from or written to `path`: it is that file's assessment from
    // now on (a variant too), and NoteFile notes it.
    void SetFile(const QString& path);
    // A file was loaded or saved: it becomes the current file, heads the recently opened
    // files and its folder is where the file dialogs open next.
    void NoteFile(const QString& path);
    // Recently opened or saved files, the last first (at most kRecentFiles).
    static QStringList RecentFiles();
    static void ForgetRecentFile(const QString& path);
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
        QString variantOf;
        QString proposedName;
    };
    Replaced Current() const;
    void KeepForUndo(Replaced state);
    void Restore(Replaced state);
    // Writes the calculation file; errors go to the error box. True when written.
    bool WriteFile(QWidget* parent, const QString& path);
    std::vector<Replaced> undo_;
    std::vector<Replaced> redo_;
    std::vector<std::pair<QPointer<QWidget>, QString>> titleFollowers_;
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
