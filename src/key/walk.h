#pragma once
// Walking forward through the wizard as a user pressing "Weiter" on every screen would:
// each screen's activation, then its "Weiter". The desktop program's screens run the very
// same form-state code, so the two cannot disagree.

#include <string>

#include "key/core/record.h"

namespace brisolt {

struct WalkOutcome {
    bool loaded = true;
    std::string loadMessage;
    int stoppedAt = 0;       // the step whose "Weiter" refused to go on; 0 for none
    std::string stopMessage; // that refusal's message
};

// Walks from the farm data screen to the last step on the record as it stands.
WalkOutcome WalkForward(AssessmentRecord& record);

// The texts the result screens show for the record: EF (step 3), EFL and the soil loss
// (step 5), the C field of step 2 and GBF (step 7).
struct ResultDisplay {
    std::string EF;
    std::string EFL;
    std::string SoilLossMM;
    std::string SoilLossTHA;
    std::string C;
    std::string GBF;
};
ResultDisplay DisplayResults(const AssessmentRecord& record, char separator);

struct Evaluation {
    AssessmentRecord record;
    WalkOutcome outcome;
};

// A fresh assessment of `currentYear` with the file loaded into it as the load command does;
// nothing is walked. A file that cannot be loaded leaves the fresh defaults.
Evaluation LoadCalculationFile(const std::string& path, Int currentYear);

// The same, then the walk. A file that cannot be loaded leaves the fresh defaults and walks
// nowhere.
Evaluation EvaluateCalculationFile(const std::string& path, Int currentYear);

} // namespace brisolt
