#include "key/walk.h"

#include <optional>

#include "key/core/errors.h"
#include "key/core/number_text.h"
#include "key/files/calculation_file.h"
#include "key/results/fertility_risk.h"
#include "key/results/sheet_erosion.h"
#include "key/results/step4_form.h"
#include "key/results/step6_form.h"
#include "key/results/total_risk.h"
#include "key/rotation/step2_form.h"
#include "key/site/step1_form.h"
#include "key/startup.h"

namespace brisolt {

namespace {

// Runs one screen's "Weiter"; a refusal or a conversion error stops the walk there.
template <typename Command> bool Passes(WalkOutcome& outcome, int step, Command command) {
    try {
        const std::optional<std::string> refusal = command();
        if (!refusal) {
            return true;
        }
        outcome.stopMessage = *refusal;
    } catch (const ConversionError& error) {
        outcome.stopMessage = error.Message();
    }
    outcome.stoppedAt = step;
    return false;
}

} // namespace

WalkOutcome WalkForward(AssessmentRecord& record) {
    WalkOutcome outcome;
    // The overview has no inputs and the farm data screen's "Weiter" copies nothing.
    Step1Form step1;
    step1.Activate(record);
    if (!Passes(outcome, 1, [&] { return step1.Next(record); })) {
        return outcome;
    }
    Step2Form step2;
    step2.Activate(record);
    if (!Passes(outcome, 2, [&] { return step2.Next(record); })) {
        return outcome;
    }
    ComputeSheetErosionRisk(record); // step 3 has no inputs
    Step4Form step4;
    step4.Activate(record);
    if (!Passes(outcome, 4, [&] {
            step4.Next(record);
            return std::optional<std::string>();
        })) {
        return outcome;
    }
    ComputeTotalRisk(record); // step 5 has no inputs
    Step6Form step6;
    step6.Activate(record);
    if (!Passes(outcome, 6, [&] { return step6.Next(record); })) {
        return outcome;
    }
    ComputeFertilityRisk(record);
    return outcome;
}

ResultDisplay DisplayResults(const AssessmentRecord& record, char separator) {
    ResultDisplay d;
    d.EF = SheetErosionRiskText(record);
    d.EFL = TotalRiskText(record);
    d.SoilLossMM = SoilLossMMText(record);
    d.SoilLossTHA = SoilLossTHAText(record);
    d.C = FormatPositiveReal(record.C, separator);
    d.GBF = record.GBF;
    return d;
}

Evaluation LoadCalculationFile(const std::string& path, Int currentYear) {
    Evaluation evaluation{FreshRecord(currentYear), {}};
    try {
        const LoadOutcome load = LoadCalculation(evaluation.record, path, currentYear);
        evaluation.outcome.loaded = load.loaded;
        evaluation.outcome.loadMessage = load.message;
    } catch (const std::exception& error) {
        evaluation.outcome.loaded = false;
        evaluation.outcome.loadMessage = MessageOf(error);
    }
    return evaluation;
}

Evaluation EvaluateCalculationFile(const std::string& path, Int currentYear) {
    Evaluation evaluation = LoadCalculationFile(path, currentYear);
    if (!evaluation.outcome.loaded) {
        return evaluation;
    }
    const std::string loadMessage = evaluation.outcome.loadMessage;
    evaluation.outcome = WalkForward(evaluation.record);
    evaluation.outcome.loadMessage = loadMessage;
    return evaluation;
}

} // namespace brisolt
