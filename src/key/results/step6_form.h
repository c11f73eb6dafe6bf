#pragma once
// What the step 6 screen shows (method choice and depth field) and what its events do.

#include <optional>
#include <string>
#include <string_view>

#include "key/core/record.h"

namespace brisolt {

class Step6Form {
public:
    Index MethodIndex = 0;      // chosen method, -1 for none
    std::string DepthText;      // text of the depth field, as typed or filled in
    bool DepthReadOnly = false; // true with the regional standard (window background colour)
    bool Filling = false;       // set while the screen is refilled from the record

    // Sets the controls from the record. With the regional standard the depth field gets
    // the region's standard depth, which is stored in DepthSoil as well, and turns
    // read-only.
    void ShowStep6Inputs(AssessmentRecord& record);
    // Method = chosen position; DepthSoil = ParseIntOrZero of the field text. Throws
    // ConversionError for a text that is no int32; Method is then already stored and
    // DepthSoil keeps its value.
    void ReadStep6Inputs(AssessmentRecord& record) const;

    // The screen becomes active: refill under the guard.
    void Activate(AssessmentRecord& record);
    // The user chooses method `position`. May throw ConversionError (see ReadStep6Inputs).
    void MethodClick(AssessmentRecord& record, Index position);
    // The user edits the depth field (text as it now stands, not yet stored).
    void SetDepthText(std::string_view text) { DepthText = std::string(text); }
    // The user leaves the depth field: only its digits stay; then they are stored.
    // May throw ConversionError for a number beyond int32.
    void DepthSoilExit(AssessmentRecord& record);
    // "Weiter": stores the inputs; the caller then shows step 7 on nullopt. A map or boring
    // depth of 0 (typed or left empty) is no depth: the message asking for it, and the
    // caller stays. May throw ConversionError.
    std::optional<std::string> Next(AssessmentRecord& record) const;
};

} // namespace brisolt
