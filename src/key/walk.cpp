#include "key/walk.h"

#include <optional>

#include "key/core/errors.h"
#include "key/files/calculation_file.h"
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
        outcome.stopMessage = error.what();
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
    return outcome;
}

Evaluation EvaluateCalculationFile(const std::string& path, Int currentYear) {
    Evaluation evaluation{FreshRecord(currentYear), {}};
    try {
        const LoadOutcome load = LoadCalculation(evaluation.record, path, currentYear);
        evaluation.outcome.loaded = load.loaded;
        evaluation.outcome.loadMessage = load.message;
    } catch (const std::exception& error) {
        evaluation.outcome.loaded = false;
        evaluation.outcome.loadMessage = error.what();
    }
    if (!evaluation.outcome.loaded) {
        return evaluation;
    }
    const std::string loadMessage = evaluation.outcome.loadMessage;
    evaluation.outcome = WalkForward(evaluation.record);
    evaluation.outcome.loadMessage = loadMessage;
    return evaluation;
}

} // namespace brisolt
