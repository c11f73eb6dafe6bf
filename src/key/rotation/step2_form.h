#pragma once
// The state of the crop rotation screen (step 2) and its operations: what every field and
// choice shows, which options each choice offers, and what each user event and command does.
// A window only mirrors this state and forwards its events here.

#include <array>
#include <optional>
#include <string>

#include "key/core/record.h"
#include "key/rotation/option_list.h"

namespace brisolt {

// The five choices of a rotation year, in the order of the record's fields a ... e.
enum class Choice : int {
    Crop = 0,          // a: main crop
    PeriodType = 1,    // b: type of the intermediate period
    CropTillage = 2,   // c: soil tillage of the main crop
    PeriodTillage = 3, // d: soil tillage in the intermediate period
    PeriodStart = 4,   // e: beginning of the intermediate period
};
constexpr int kChoicesPerYear = 5;

// One year block of the screen.
struct Step2Year {
    std::string YearText; // calendar year; typed for year 1, derived for the others
    std::array<OptionList, kChoicesPerYear> Lists;
    // Hidden result fields: period contribution and reference, main crop contribution and
    // reference.
    std::string w, x, y, z;

    OptionList& List(Choice choice) { return Lists[static_cast<std::size_t>(choice)]; }
    const OptionList& List(Choice choice) const { return Lists[static_cast<std::size_t>(choice)]; }
};

// The checks and the calculation read each year's codes through the lists this state offers,
// so a record is shown (Activate) before any command runs on it.
class Step2Form {
public:
    // Creation of the screen: every main crop choice offers the whole crop catalogue.
    Step2Form();

    // Year block n = 1 ... 10.
    Step2Year& Row(int n) { return rows_.at(static_cast<std::size_t>(n - 1)); }
    const Step2Year& Row(int n) const { return rows_.at(static_cast<std::size_t>(n - 1)); }

    std::string YearsText;        // read-only "Jahre" field
    std::string CText;            // read-only field "Fruchtfolgefaktor C (gemäss Schlüssel)"
    std::string CABAGText;        // hidden
    std::string KWBCountText;     // hidden
    std::string BFPercentageText; // hidden
    std::string RemarkText;       // at most kRemarkMaxChars characters when typed
    bool NextEnabled = true;      // the "Weiter" button (the menu item is always enabled)
    bool Filling = false;         // set while the screen is filled from the record

    static constexpr std::size_t kRemarkMaxChars = 256;

    // --- Operations on the choices -------------------------------------------------------
    // Rebuilds the period type and main crop tillage choices of year n after its crop.
    void UpdateCropChoices(int n);
    // Rebuilds the period tillage and period start choices of year n after its period type.
    void UpdatePeriodChoices(int n);
    // Leaving the year-1 field: keeps its digits and numbers years 2 to 10 from it.
    // Throws ConversionError when a year does not fit an integer; years 2 to 10 then keep
    // their texts.
    void UpdateRotationYears(AssessmentRecord& record);
    // Copies the whole screen into the record; does nothing while filling. Throws
    // ConversionError for a year text that is no integer.
    void ReadStep2Inputs(AssessmentRecord& record) const;
    // Fills the whole screen from the record, under the filling guard. Stored positions are
    // chosen in the lists as rebuilt for each year, so they point at the same entries again.
    // The C field and the other results are left as they are.
    void ShowStep2Inputs(const AssessmentRecord& record);
    // "Felder leeren" without the calculation: blank crops, empty lists and years field.
    void ClearRotation(AssessmentRecord& record);

    // --- User events ---------------------------------------------------------------------
    // The screen becomes the active window: the entry is refilled from the record, and the
    // C field and the hidden figures show the record's results, so after a load (which
    // clears every result) no C of the previous assessment stays on the screen.
    void Activate(const AssessmentRecord& record);
    void MainCropChange(int n, Index position, AssessmentRecord& record);
    void PeriodTypeChange(int n, Index position, AssessmentRecord& record);
    // Main crop tillage, period tillage or period start chosen.
    void OtherChoiceChange(int n, Choice choice, Index position, AssessmentRecord& record);
    // Any of the fifty choices; dispatches to the three above.
    void ChoiceChange(int n, Choice choice, Index position, AssessmentRecord& record);
    // The same choice without copying the screen into the record: for a series of choices
    // followed by one ReadStep2Inputs, which leaves the record as the series of
    // ChoiceChange would.
    void Select(int n, Choice choice, Index position);
    // "Fruchtfolge wiederholen": years 1 ... `cycle` are copied, all five choices, into the
    // empty years that follow them up to year `length` (and never past the first year with
    // a crop), as a user choosing them would; the screen is then copied into the record.
    // Returns the years filled.
    int RepeatRotation(int cycle, int length, AssessmentRecord& record);
    // The years entered from year 1 on, up to the first year without a crop: the cycle a
    // repeat copies.
    int EnteredYears() const;
    // The length a repeat proposes: whole cycles up to ten years (8 for a four-year rotation);
    // the cycle itself when it does not fit twice.
    static int ProposedRotationLength(int cycle);
    // Typing into the year-1 field and leaving it.
    void SetYear1Text(std::string text) { Row(1).YearText = std::move(text); }
    void Year1Exit(AssessmentRecord& record) { UpdateRotationYears(record); }
    // Typing into the remark field (cut to kRemarkMaxChars characters) and leaving it; on
    // leaving, the field shows the remark as the record stores it (MakeWindows1252Safe).
    void SetRemarkText(std::string text);
    void RemarkExit(AssessmentRecord& record);

    // --- Commands ------------------------------------------------------------------------
    // "Berechnen": the rotation checks; when they pass, C is computed and "Weiter" enabled.
    // Returns the check's message when the rotation is refused.
    std::optional<std::string> Calculate(AssessmentRecord& record);
    // "Felder leeren": clears the rotation, computes C of the empty rotation, enables "Weiter".
    void ClearFields(AssessmentRecord& record);
    // "Weiter" (button or menu): the checks; when they pass, C is computed and the screen
    // copied into the record, and the caller moves on to step 3. Returns the check's message
    // when the rotation is refused, and a message of its own when no year has a main crop
    // (the caller then stays on step 2).
    std::optional<std::string> Next(AssessmentRecord& record);
    // The "Schritt 2 drucken" button: the checks and C as "Weiter"; an empty rotation prints
    // as an empty sheet. The caller opens the preview on nullopt.
    std::optional<std::string> PrintStep2(AssessmentRecord& record);

private:
    std::array<Step2Year, kRotationYears> rows_;
};

// Builds every catalogue and key table of the crop rotation now instead of on first use.
void BuildRotationTables();

} // namespace brisolt
