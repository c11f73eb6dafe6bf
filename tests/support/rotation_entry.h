#pragma once
// Entering a rotation as a user does on the step 2 screen: choices by their texts.

#include <stdexcept>
#include <string>

#include "key/rotation/step2_form.h"
#include "key/startup.h"

namespace brisolt::testing {

inline void ChooseText(Step2Form& form, AssessmentRecord& record, int n, Choice choice,
                       const std::string& text) {
    const auto texts = form.Row(n).List(choice).Texts();
    for (std::size_t i = 0; i < texts.size(); ++i) {
        if (texts[i] == text) {
            form.ChoiceChange(n, choice, static_cast<Index>(i), record);
            return;
        }
    }
    throw std::runtime_error("not offered in year " + std::to_string(n) + ": " + text);
}

// Ten ploughed crops, each followed by bare fallow over winter, on a steep, long slope.
inline AssessmentRecord TenYearsPloughAndBareFallow() {
    AssessmentRecord r = FreshRecord(2026);
    r.Gradient = 14;
    r.FloatDistance = 150;
    r.Region = 1;
    r.SoilType = 2;
    r.Method = 1;
    r.DepthSoil = 60;
    Step2Form form;
    form.Activate(r);
    const char* crops[10] = {"Weizen (Winter)",     "Mais (Körnermais)", "Gerste (Winter)",
                             "Rüben (Zuckerrüben)", "Weizen (Winter)",   "Kartoffeln (übrige)",
                             "Raps (Winter)",       "Mais (Silomais)",   "Weizen (Winter)",
                             "Sonnenblumen"};
    for (int n = 1; n <= 10; ++n) {
        ChooseText(form, r, n, Choice::Crop, crops[n - 1]);
        ChooseText(form, r, n, Choice::CropTillage, "Plug/pfluglos unter 10% Bedeckung");
        ChooseText(form, r, n, Choice::PeriodType, "Schwarzbrache im Herbst und Winter");
        form.ChoiceChange(n, Choice::PeriodTillage, 1, r); // the plough, the only tillage
        form.ChoiceChange(n, Choice::PeriodStart, 1, r);   // the earliest start offered
    }
    return r;
}

} // namespace brisolt::testing
