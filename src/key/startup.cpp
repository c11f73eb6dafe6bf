#include "key/startup.h"

#include "key/files/calculation_file.h"
#include "key/results/result_tables.h"
#include "key/rotation/step2_form.h"
#include "key/site/site_influence.h"
#include "key/site/site_tables.h"

namespace brisolt {

void BuildKeyTables() {
    SlopeExponentTable();
    SoilFactorTable();
    RegionFactorTable();
    ContourFactorTable();
    RegionLetters();
    RegionDescriptions();
    SoilTypeNames(0);
    ManagementDirections();
    BuildRotationTables();
    BuildResultTables();
}

void InitialiseRecord(AssessmentRecord& record, Int currentYear) {
    BuildKeyTables();
    ResetRecordDefaults(record, currentYear);
    MarkAsSaved(record);
}

AssessmentRecord FreshRecord(Int currentYear) {
    AssessmentRecord record;
    InitialiseRecord(record, currentYear);
    return record;
}

} // namespace brisolt
