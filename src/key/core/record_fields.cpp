#include "key/core/record_fields.h"

namespace brisolt {

namespace {

template <auto M> FieldRef Member(AssessmentRecord& r) {
    return &(r.*M);
}
template <int N, auto M> FieldRef YearMember(AssessmentRecord& r) {
    return &(r.Rotation[N - 1].*M);
}
template <auto M, std::size_t I> FieldRef ShareMember(AssessmentRecord& r) {
    return &(r.*M)[I];
}

// Rotation year n takes lines 10 + 6n to 15 + 6n. A year's calendar year is an int32, its
// five choices are positions in the year's lists.
// One field a line, as the table is read.
// clang-format off
constexpr RecordField kFields[] = {
    {"NameSurname", FieldType::Text, 2, "Name und Vorname", &Member<&AssessmentRecord::NameSurname>},
    {"Address1", FieldType::Text, 3, "Adresse", &Member<&AssessmentRecord::Address1>},
    {"Address2", FieldType::Text, 4, "Adresse (2. Zeile)", &Member<&AssessmentRecord::Address2>},
    {"Parzelle", FieldType::Text, 5, "Flurname oder Parzelle", &Member<&AssessmentRecord::Parzelle>},
    {"Variant", FieldType::Text, 6, "Variante", &Member<&AssessmentRecord::Variant>},
    {"Year", FieldType::Int, 7, "Jahr der Abschätzung", &Member<&AssessmentRecord::Year>},
    {"EnteredBy", FieldType::Text, 8, "Abschätzung erstellt durch", &Member<&AssessmentRecord::EnteredBy>},
    {"EnteredOn", FieldType::Text, 9, "Abschätzung erstellt am", &Member<&AssessmentRecord::EnteredOn>},
    {"Entertainment", FieldType::Index, 10, "Bewirtschaftungsrichtung", &Member<&AssessmentRecord::Entertainment>},
    {"FloatDistance", FieldType::Int, 11, "Länge der Fliessstrecke des Wassers", &Member<&AssessmentRecord::FloatDistance>},
    {"Gradient", FieldType::Int, 12, "Gefälle", &Member<&AssessmentRecord::Gradient>},
    {"Region", FieldType::Index, 13, "Region", &Member<&AssessmentRecord::Region>},
    {"SoilType", FieldType::Index, 14, "Bodenart", &Member<&AssessmentRecord::SoilType>},
    {"Stones", FieldType::Int, 15, "Bodenbedeckung durch Steine", &Member<&AssessmentRecord::Stones>},
    {"Year1", FieldType::Int, 16, "Jahr (1. Fruchtfolgejahr)", &YearMember<1, &RotationYear::Year>},
    {"Year1a", FieldType::Index, 17, "Hauptkultur (1. Fruchtfolgejahr)", &YearMember<1, &RotationYear::a>},
    {"Year1b", FieldType::Index, 18, "Zwischenperiode (1. Fruchtfolgejahr)", &YearMember<1, &RotationYear::b>},
    {"Year1c", FieldType::Index, 19, "Bodenbearbeitung der Hauptkultur (1. Fruchtfolgejahr)", &YearMember<1, &RotationYear::c>},
    {"Year1d", FieldType::Index, 20, "Bodenbearbeitung in der Zwischenperiode (1. Fruchtfolgejahr)", &YearMember<1, &RotationYear::d>},
    {"Year1e", FieldType::Index, 21, "Beginn der Zwischenperiode (1. Fruchtfolgejahr)", &YearMember<1, &RotationYear::e>},
    {"Year2", FieldType::Int, 22, "Jahr (2. Fruchtfolgejahr)", &YearMember<2, &RotationYear::Year>},
    {"Year2a", FieldType::Index, 23, "Hauptkultur (2. Fruchtfolgejahr)", &YearMember<2, &RotationYear::a>},
    {"Year2b", FieldType::Index, 24, "Zwischenperiode (2. Fruchtfolgejahr)", &YearMember<2, &RotationYear::b>},
    {"Year2c", FieldType::Index, 25, "Bodenbearbeitung der Hauptkultur (2. Fruchtfolgejahr)", &YearMember<2, &RotationYear::c>},
    {"Year2d", FieldType::Index, 26, "Bodenbearbeitung in der Zwischenperiode (2. Fruchtfolgejahr)", &YearMember<2, &RotationYear::d>},
    {"Year2e", FieldType::Index, 27, "Beginn der Zwischenperiode (2. Fruchtfolgejahr)", &YearMember<2, &RotationYear::e>},
    {"Year3", FieldType::Int, 28, "Jahr (3. Fruchtfolgejahr)", &YearMember<3, &RotationYear::Year>},
    {"Year3a", FieldType::Index, 29, "Hauptkultur (3. Fruchtfolgejahr)", &YearMember<3, &RotationYear::a>},
    {"Year3b", FieldType::Index, 30, "Zwischenperiode (3. Fruchtfolgejahr)", &YearMember<3, &RotationYear::b>},
    {"Year3c", FieldType::Index, 31, "Bodenbearbeitung der Hauptkultur (3. Fruchtfolgejahr)", &YearMember<3, &RotationYear::c>},
    {"Year3d", FieldType::Index, 32, "Bodenbearbeitung in der Zwischenperiode (3. Fruchtfolgejahr)", &YearMember<3, &RotationYear::d>},
    {"Year3e", FieldType::Index, 33, "Beginn der Zwischenperiode (3. Fruchtfolgejahr)", &YearMember<3, &RotationYear::e>},
    {"Year4", FieldType::Int, 34, "Jahr (4. Fruchtfolgejahr)", &YearMember<4, &RotationYear::Year>},
    {"Year4a", FieldType::Index, 35, "Hauptkultur (4. Fruchtfolgejahr)", &YearMember<4, &RotationYear::a>},
    {"Year4b", FieldType::Index, 36, "Zwischenperiode (4. Fruchtfolgejahr)", &YearMember<4, &RotationYear::b>},
    {"Year4c", FieldType::Index, 37, "Bodenbearbeitung der Hauptkultur (4. Fruchtfolgejahr)", &YearMember<4, &RotationYear::c>},
    {"Year4d", FieldType::Index, 38, "Bodenbearbeitung in der Zwischenperiode (4. Fruchtfolgejahr)", &YearMember<4, &RotationYear::d>},
    {"Year4e", FieldType::Index, 39, "Beginn der Zwischenperiode (4. Fruchtfolgejahr)", &YearMember<4, &RotationYear::e>},
    {"Year5", FieldType::Int, 40, "Jahr (5. Fruchtfolgejahr)", &YearMember<5, &RotationYear::Year>},
    {"Year5a", FieldType::Index, 41, "Hauptkultur (5. Fruchtfolgejahr)", &YearMember<5, &RotationYear::a>},
    {"Year5b", FieldType::Index, 42, "Zwischenperiode (5. Fruchtfolgejahr)", &YearMember<5, &RotationYear::b>},
    {"Year5c", FieldType::Index, 43, "Bodenbearbeitung der Hauptkultur (5. Fruchtfolgejahr)", &YearMember<5, &RotationYear::c>},
    {"Year5d", FieldType::Index, 44, "Bodenbearbeitung in der Zwischenperiode (5. Fruchtfolgejahr)", &YearMember<5, &RotationYear::d>},
    {"Year5e", FieldType::Index, 45, "Beginn der Zwischenperiode (5. Fruchtfolgejahr)", &YearMember<5, &RotationYear::e>},
    {"Year6", FieldType::Int, 46, "Jahr (6. Fruchtfolgejahr)", &YearMember<6, &RotationYear::Year>},
    {"Year6a", FieldType::Index, 47, "Hauptkultur (6. Fruchtfolgejahr)", &YearMember<6, &RotationYear::a>},
    {"Year6b", FieldType::Index, 48, "Zwischenperiode (6. Fruchtfolgejahr)", &YearMember<6, &RotationYear::b>},
    {"Year6c", FieldType::Index, 49, "Bodenbearbeitung der Hauptkultur (6. Fruchtfolgejahr)", &YearMember<6, &RotationYear::c>},
    {"Year6d", FieldType::Index, 50, "Bodenbearbeitung in der Zwischenperiode (6. Fruchtfolgejahr)", &YearMember<6, &RotationYear::d>},
    {"Year6e", FieldType::Index, 51, "Beginn der Zwischenperiode (6. Fruchtfolgejahr)", &YearMember<6, &RotationYear::e>},
    {"Year7", FieldType::Int, 52, "Jahr (7. Fruchtfolgejahr)", &YearMember<7, &RotationYear::Year>},
    {"Year7a", FieldType::Index, 53, "Hauptkultur (7. Fruchtfolgejahr)", &YearMember<7, &RotationYear::a>},
    {"Year7b", FieldType::Index, 54, "Zwischenperiode (7. Fruchtfolgejahr)", &YearMember<7, &RotationYear::b>},
    {"Year7c", FieldType::Index, 55, "Bodenbearbeitung der Hauptkultur (7. Fruchtfolgejahr)", &YearMember<7, &RotationYear::c>},
    {"Year7d", FieldType::Index, 56, "Bodenbearbeitung in der Zwischenperiode (7. Fruchtfolgejahr)", &YearMember<7, &RotationYear::d>},
    {"Year7e", FieldType::Index, 57, "Beginn der Zwischenperiode (7. Fruchtfolgejahr)", &YearMember<7, &RotationYear::e>},
    {"Year8", FieldType::Int, 58, "Jahr (8. Fruchtfolgejahr)", &YearMember<8, &RotationYear::Year>},
    {"Year8a", FieldType::Index, 59, "Hauptkultur (8. Fruchtfolgejahr)", &YearMember<8, &RotationYear::a>},
    {"Year8b", FieldType::Index, 60, "Zwischenperiode (8. Fruchtfolgejahr)", &YearMember<8, &RotationYear::b>},
    {"Year8c", FieldType::Index, 61, "Bodenbearbeitung der Hauptkultur (8. Fruchtfolgejahr)", &YearMember<8, &RotationYear::c>},
    {"Year8d", FieldType::Index, 62, "Bodenbearbeitung in der Zwischenperiode (8. Fruchtfolgejahr)", &YearMember<8, &RotationYear::d>},
    {"Year8e", FieldType::Index, 63, "Beginn der Zwischenperiode (8. Fruchtfolgejahr)", &YearMember<8, &RotationYear::e>},
    {"Year9", FieldType::Int, 64, "Jahr (9. Fruchtfolgejahr)", &YearMember<9, &RotationYear::Year>},
    {"Year9a", FieldType::Index, 65, "Hauptkultur (9. Fruchtfolgejahr)", &YearMember<9, &RotationYear::a>},
    {"Year9b", FieldType::Index, 66, "Zwischenperiode (9. Fruchtfolgejahr)", &YearMember<9, &RotationYear::b>},
    {"Year9c", FieldType::Index, 67, "Bodenbearbeitung der Hauptkultur (9. Fruchtfolgejahr)", &YearMember<9, &RotationYear::c>},
    {"Year9d", FieldType::Index, 68, "Bodenbearbeitung in der Zwischenperiode (9. Fruchtfolgejahr)", &YearMember<9, &RotationYear::d>},
    {"Year9e", FieldType::Index, 69, "Beginn der Zwischenperiode (9. Fruchtfolgejahr)", &YearMember<9, &RotationYear::e>},
    {"Year10", FieldType::Int, 70, "Jahr (10. Fruchtfolgejahr)", &YearMember<10, &RotationYear::Year>},
    {"Year10a", FieldType::Index, 71, "Hauptkultur (10. Fruchtfolgejahr)", &YearMember<10, &RotationYear::a>},
    {"Year10b", FieldType::Index, 72, "Zwischenperiode (10. Fruchtfolgejahr)", &YearMember<10, &RotationYear::b>},
    {"Year10c", FieldType::Index, 73, "Bodenbearbeitung der Hauptkultur (10. Fruchtfolgejahr)", &YearMember<10, &RotationYear::c>},
    {"Year10d", FieldType::Index, 74, "Bodenbearbeitung in der Zwischenperiode (10. Fruchtfolgejahr)", &YearMember<10, &RotationYear::d>},
    {"Year10e", FieldType::Index, 75, "Beginn der Zwischenperiode (10. Fruchtfolgejahr)", &YearMember<10, &RotationYear::e>},
    {"Years", FieldType::Int, 76, "Anzahl Jahre der Fruchtfolge", &Member<&AssessmentRecord::Years>},
    {"Remark", FieldType::Text, 77, "Bemerkungen", &Member<&AssessmentRecord::Remark>},
    {"Channels", FieldType::Index, 78, "Erosionsrinnen entstehen", &Member<&AssessmentRecord::Channels>},
    {"NumChannels", FieldType::Index, 79, "Anzahl Rinnen", &Member<&AssessmentRecord::NumChannels>},
    {"DepthChannels", FieldType::Index, 80, "Tiefe der Rinnen", &Member<&AssessmentRecord::DepthChannels>},
    {"DepthChannel", FieldType::Index, 81, "Tiefe der Einzelrinne", &Member<&AssessmentRecord::DepthChannel>},
    {"WidthChannel", FieldType::Index, 82, "Breite der Einzelrinne", &Member<&AssessmentRecord::WidthChannel>},
    {"FrequencyChannels", FieldType::Index, 83, "Häufigkeit der Erosionsrinnen", &Member<&AssessmentRecord::FrequencyChannels>},
    {"Method", FieldType::Index, 84, "Schätzmethode", &Member<&AssessmentRecord::Method>},
    {"DepthSoil", FieldType::Int, 85, "Gründigkeit", &Member<&AssessmentRecord::DepthSoil>},
    {"ST", FieldType::Real, 0, "Kennwert für die Standorteinflüsse", &Member<&AssessmentRecord::ST>},
    {"STReduced", FieldType::Real, 0, "Reduzierter Wert für die Standorteinflüsse", &Member<&AssessmentRecord::STReduced>},
    {"C", FieldType::Real, 0, "Fruchtfolgefaktor", &Member<&AssessmentRecord::C>},
    {"CABAG", FieldType::Real, 0, "C-Faktor", &Member<&AssessmentRecord::CABAG>},
    {"KWBCount", FieldType::Int, 0, "Anzahl Jahre Kunstwiese und Buntbrachen", &Member<&AssessmentRecord::KWBCount>},
    {"BFPercentage", FieldType::Real, 0, "Anteil Blattfrüchte", &Member<&AssessmentRecord::BFPercentage>},
    {"Total2A1", FieldType::Real, 0, "Hauptfrüchte: Kunstwiese plus Rotations-/Buntbrachen", &ShareMember<&AssessmentRecord::Total2A, 0>},
    {"Total2A2", FieldType::Real, 0, "Hauptfrüchte: Halmfrüchte Winter", &ShareMember<&AssessmentRecord::Total2A, 1>},
    {"Total2A3", FieldType::Real, 0, "Hauptfrüchte: Halmfrüchte Sommer", &ShareMember<&AssessmentRecord::Total2A, 2>},
    {"Total2A4", FieldType::Real, 0, "Hauptfrüchte: Blattfrüchte Winter", &ShareMember<&AssessmentRecord::Total2A, 3>},
    {"Total2A5", FieldType::Real, 0, "Hauptfrüchte: Blattfrüchte Sommer", &ShareMember<&AssessmentRecord::Total2A, 4>},
    {"Total2A6", FieldType::Real, 0, "Hauptfrüchte: Sonderkulturen", &ShareMember<&AssessmentRecord::Total2A, 5>},
    {"Total2B1", FieldType::Real, 0, "Bodenbearbeitung Hauptfrüchte: Pflug, pfluglos unter 10% Bedeckung", &ShareMember<&AssessmentRecord::Total2B, 0>},
    {"Total2B2", FieldType::Real, 0, "Bodenbearbeitung Hauptfrüchte: Mulchsaat, 10-30% Bedeckung", &ShareMember<&AssessmentRecord::Total2B, 1>},
    {"Total2B3", FieldType::Real, 0, "Bodenbearbeitung Hauptfrüchte: Mulchsaat über 30% Bedeckung", &ShareMember<&AssessmentRecord::Total2B, 2>},
    {"Total2B4", FieldType::Real, 0, "Bodenbearbeitung Hauptfrüchte: Direktsaat/Streifenfrässaat", &ShareMember<&AssessmentRecord::Total2B, 3>},
    {"Total2B99", FieldType::Real, 0, "Bodenbearbeitung Hauptfrüchte: Keine Bodenbearbeitung", &ShareMember<&AssessmentRecord::Total2B, 4>},
    {"Total2C1", FieldType::Real, 0, "Zwischenperioden: Keine Zwischenperiode", &ShareMember<&AssessmentRecord::Total2C, 0>},
    {"Total2C2", FieldType::Real, 0, "Zwischenperioden: Schwarzbrache im Herbst und Winter", &ShareMember<&AssessmentRecord::Total2C, 1>},
    {"Total2C3", FieldType::Real, 0, "Zwischenperioden: Stoppelbrache im Winter", &ShareMember<&AssessmentRecord::Total2C, 2>},
    {"Total2C4", FieldType::Real, 0, "Zwischenperioden: Stoppelbrache vor Winterkultur", &ShareMember<&AssessmentRecord::Total2C, 3>},
    {"Total2C5", FieldType::Real, 0, "Zwischenperioden: Zwischenfutter/Gründüngung vor Schwarzbrache", &ShareMember<&AssessmentRecord::Total2C, 4>},
    {"Total2C6", FieldType::Real, 0, "Zwischenperioden: Zwischenfutter/Gründüngung vor Winterkultur", &ShareMember<&AssessmentRecord::Total2C, 5>},
    {"Total2C7", FieldType::Real, 0, "Zwischenperioden: Zwischenfutter/Gründüngung im Winter, abfrierend", &ShareMember<&AssessmentRecord::Total2C, 6>},
    {"Total2C8", FieldType::Real, 0, "Zwischenperioden: Zwischenfutter/Gründüngung im Winter, überwinternd", &ShareMember<&AssessmentRecord::Total2C, 7>},
    {"Total2D1", FieldType::Real, 0, "Bodenbearbeitung Zwischenperiode: Pflug, pfluglos unter 10% Bedeckung", &ShareMember<&AssessmentRecord::Total2D, 0>},
    {"Total2D2", FieldType::Real, 0, "Bodenbearbeitung Zwischenperiode: Mulchsaat, 10-30% Bedeckung", &ShareMember<&AssessmentRecord::Total2D, 1>},
    {"Total2D3", FieldType::Real, 0, "Bodenbearbeitung Zwischenperiode: Mulchsaat über 30% Bedeckung", &ShareMember<&AssessmentRecord::Total2D, 2>},
    {"Total2D4", FieldType::Real, 0, "Bodenbearbeitung Zwischenperiode: Direktsaat/Streifenfrässaat", &ShareMember<&AssessmentRecord::Total2D, 3>},
    {"Total2D99", FieldType::Real, 0, "Bodenbearbeitung Zwischenperiode: Keine Bodenbearbeitung", &ShareMember<&AssessmentRecord::Total2D, 4>},
    {"EF", FieldType::Real, 0, "flächenhafte Erosionsgefährdung", &Member<&AssessmentRecord::EF>},
    {"EL", FieldType::Real, 0, "Zuschlag für linienhafte Erosion", &Member<&AssessmentRecord::EL>},
    {"EFL", FieldType::Real, 0, "Gesamtgefährdung", &Member<&AssessmentRecord::EFL>},
    {"SoilLossMM", FieldType::Real, 0, "Bodenverlust in mm/Jahr", &Member<&AssessmentRecord::SoilLossMM>},
    {"SoilLossTHA", FieldType::Real, 0, "Bodenverlust in t/ha/Jahr", &Member<&AssessmentRecord::SoilLossTHA>},
    {"GBF", FieldType::Text, 0, "Gefährdungsstufe der Bodenfruchtbarkeit", &Member<&AssessmentRecord::GBF>},
};
// clang-format on

// The persisted fields come first, on lines 2, 3, ... in order; all others have line 0.
constexpr bool PersistedFirstInFileOrder() {
    int i = 0;
    for (const RecordField& f : kFields) {
        if (f.line != (i < kPersistedFieldCount ? i + 2 : 0)) {
            return false;
        }
        ++i;
    }
    return i > kPersistedFieldCount;
}
static_assert(PersistedFirstInFileOrder(), "the field table does not match the file layout");

} // namespace

std::span<const RecordField> RecordFields() {
    return kFields;
}

std::span<const RecordField> PersistedFields() {
    return std::span<const RecordField>(kFields).first(kPersistedFieldCount);
}

} // namespace brisolt
