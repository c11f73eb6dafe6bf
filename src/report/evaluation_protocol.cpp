// The one-page evaluation protocol: farm data, the inputs and result of each step of the key
// and the boxed verdict on the fertility risk level.

#include <array>
#include <string>
#include <utility>

#include "key/core/texts_results.h"
#include "key/results/rill_erosion.h"
#include "key/results/soil_depth.h"
#include "key/site/site_influence.h"
#include "report/report_formats.h"
#include "report/reports.h"

namespace brisolt::report {
namespace {

namespace t7 = texts::results::step7;

// Columns from the left margin.
constexpr double kColA = 0, kColB = 38.1, kColC = 52.9, kColD = 61.4, kColE = 82.5, kColF = 152.4,
                 kColG = 169.3;
constexpr double kResultWidth = 15.1;
constexpr double kUnitWidth = 9.0;
constexpr double kHeadingWidth = 36.2;
constexpr double kHeadingTextWidth = 129.4;
constexpr double kStepTextWidth = 112.4;

class Protocol {
public:
    Protocol(Page& page, const AssessmentRecord& record, char separator)
        : page_(page), r_(record), sep_(separator) {}

    void Build() {
        AddPageBackground(page_, page_.name);
        AddFarmData(page_, r_, 2.1);
        Step1();
        Step2();
        Step3();
        Step4();
        Step5();
        Step6();
        Step7();
    }

private:
    void Add(Element e) { page_.elements.push_back(std::move(e)); }

    void StepHeading(double y, int step, std::string text, double width,
                     double height = kLineHeight) {
        Add(Heading({kColA, y, kHeadingWidth}, "Schritt " + std::to_string(step), kTitlePoints));
        Add(Label({kColB, y, width, height}, std::move(text)));
    }

    // A right-aligned bold caption ending at the result column, the result cell and its unit.
    void ResultLine(double y, double captionX, double captionWidth, std::string caption,
                    std::string value, std::string unit) {
        Add(Label({captionX, y, captionWidth}, std::move(caption), true, Align::Right));
        Add(Cell({kColF, y, kResultWidth}, std::move(value)));
        Add(Label({kColG, y, kUnitWidth}, std::move(unit), true));
    }

    void Step1() {
        StepHeading(27.5, 1, "Standorteinflüsse bestimmen", kHeadingTextWidth);

        Add(Label({kColA, 36.0, 51.1}, "Gefälle :"));
        Add(Cell({kColC, 36.0, 23.0}, IntegerText(r_.Gradient) + " % "));
        Add(Label({kColE, 36.0, 21.4}, "Region :"));
        Add(Cell({kColF, 36.0, kResultWidth}, ListEntry(RegionLetters(), r_.Region),
                 Align::Center));

        Add(Label({kColA, 40.2, 51.1}, "Länge der Fliessstrecke des Wassers :"));
        Add(Cell({kColC, 40.2, 23.0}, IntegerText(r_.FloatDistance) + " m "));

        Add(Label({kColA, 44.5, 21.4}, "Bodenart:"));
        std::string soil = ListEntry(SoilTypeNames(r_.Region), r_.SoilType);
        if (!soil.empty()) {
            soil += " ";
        }

        Add(Label({kColA, 48.7, 51.1}, "% Bodenbedeckung durch Steine :"));
        Add(Cell({kColC, 48.7, 23.0}, IntegerText(r_.Stones) + " % "));
        // The soil type cell reaches 0.3 mm into the line below: drawn after that line's
        // caption and cell, its bottom frame stays whole instead of vanishing under the
        // caption's white background.
        Add(Cell({23.3, 44.5, 52.7}, std::move(soil)));
        ResultLine(48.7, kColE, 68.0, "Kennwert für die Standorteinflüsse",
                   RoundedText(r_.ST) + " ", "ST");

        Add(Label({kColA, 52.9, 51.1}, "Bewirtschaftungsrichtung:"));
        std::string direction;
        if (r_.Entertainment == 0) {
            direction = "In Fallinie ";
        } else if (r_.Entertainment == 1) {
            direction = "Quer zum Hang ";
        }
        Add(Cell({kColC, 52.9, 23.0}, std::move(direction)));
        ResultLine(52.9, kColE, 68.0, "Reduzierter Wert für die Standorteinflüsse",
                   RoundedText(r_.STReduced) + " ", "ST'");
    }

    void Step2() {
        StepHeading(61.4, 2,
                    "Fruchtfolgefaktor bestimmen und Auswertungen zu Fruchtfolge und "
                    "Bodenbearbeitung",
                    kHeadingTextWidth);

        Add(Label({kColA, 69.8, 59.5}, "Hauptfrüchte nach Kulturanteilen", true));
        Add(Label({kColE, 69.8, 61.6}, "Zwischenperioden (Anteile nach Typen)", true));

        static constexpr std::array<double, 8> kShareRows = {76.2, 80.4, 84.7,  88.9,
                                                             93.1, 97.4, 101.6, 105.8};
        static constexpr std::array<const char*, 6> kMainCrops = {
            "Kunstwiese plus Rotations-/Buntbrachen",
            "Halmfrüchte Winter",
            "Halmfrüchte Sommer",
            "Blattfrüchte Winter",
            "Blattfrüchte Sommer",
            "Sonderkulturen",
        };
        for (std::size_t i = 0; i < kMainCrops.size(); ++i) {
            Add(Label({kColA, kShareRows[i], 59.5}, kMainCrops[i]));
            Add(Cell({kColD, kShareRows[i], kResultWidth}, ShareText(r_.Total2A[i], sep_)));
        }
        static constexpr std::array<const char*, 8> kPeriods = {
            "Zwischenfutter/Gründüngung im Winter, überwinternd",
            "Zwischenfutter/Gründüngung im Winter, abfrierend",
            "Zwischenfutter/Gründüngung vor Winterkultur",
            "Zwischenfutter/Gründüngung vor Schwarzbrache",
            "Stoppelbrache vor Winterkultur",
            "Stoppelbrache im Winter",
            "Schwarzbrache im Herbst und Winter",
            "Keine Zwischenperiode",
        };
        for (std::size_t i = 0; i < kPeriods.size(); ++i) {
            Add(Label({kColE, kShareRows[i], 68.0}, kPeriods[i]));
            Add(Cell({kColF, kShareRows[i], kResultWidth}, ShareText(r_.Total2C[i], sep_)));
        }

        Add(Label({kColA, 112.2, 51.1}, "Bodenbearbeitung", true));
        Add(Label({50.8, 112.2, 25.7}, "Hauptfrüchte", true, Align::Right));
        Add(Label({kColE, 112.2, 68.0}, "Zwischenperiode", true));
        static constexpr std::array<double, 5> kTillageRows = {118.5, 122.8, 127.0, 131.2, 135.5};
        static constexpr std::array<const char*, 5> kTillage = {
            "Pflug, pfluglos unter 10% Bedeckung",
            "Mulchsaat, 10-30% Bedeckung",
            "Mulchsaat über 30% Bedeckung",
            "Direktsaat/Streifenfrässaat",
            "Keine Bodenbearbeitung",
        };
        for (std::size_t i = 0; i < kTillage.size(); ++i) {
            Add(Label({kColA, kTillageRows[i], 59.5}, kTillage[i]));
            Add(Cell({kColD, kTillageRows[i], kResultWidth}, ShareText(r_.Total2B[i], sep_)));
            Add(Cell({kColE, kTillageRows[i], kResultWidth}, ShareText(r_.Total2D[i], sep_)));
        }
        ResultLine(135.5, 99.5, 51.1, "Fruchtfolgefaktor", GeneralNumberText(r_.C, sep_) + " ",
                   "C");
    }

    void Step3() {
        StepHeading(143.9, 3, "Grundgefährdung durch flächenhafte Erosion berechnen: EF = ST' x C",
                    kHeadingTextWidth);
        ResultLine(148.2, kColB, kStepTextWidth, "flächenhafte Erosionsgefährdung",
                   RoundedText(r_.EF) + " ", "EF");
    }

    void Step4() {
        StepHeading(156.6, 4,
                    "Zuschlag für linienhafte Erosion (Rinnenerosion) bestimmen (aus der "
                    "Beobachtung von Rillen / Rinnen)",
                    140.0, 8.2);

        static constexpr std::array<double, 4> kRows = {164.6, 168.8, 173.0, 177.3};
        const std::array<std::pair<std::string, std::string>, 4> lines = RillObservationLines(r_);
        for (std::size_t i = 0; i < kRows.size(); ++i) {
            Element question = Label({kColA, kRows[i], 61.6}, lines[i].first);
            question.frame = Frame::All();
            Add(std::move(question));
            Add(Cell({kColD, kRows[i], 61.6}, lines[i].second, Align::Left));
        }
        ResultLine(182.0, kColB, kStepTextWidth, "Zuschlag für linienhafte Erosion",
                   RoundedText(r_.EL) + " ", "EL");
    }

    void Step5() {
        StepHeading(190.5, 5, "Gesamtgefährdung durch Bodenerosion berechnen", kStepTextWidth);
        ResultLine(194.7, kColB, kStepTextWidth, "Gesamtgefährdung: EFL = EF + EL ",
                   RoundedText(r_.EFL) + " ", "EFL");
        Add(ValueLabel({kColB, 199.0, kStepTextWidth},
                       "Bodenverlust/Jahr = " + TwoDecimalText(r_.SoilLossMM) + " mm" + " oder " +
                           ThreeDecimalText(r_.SoilLossTHA) + " t/ha",
                       false, Align::Right));
    }

    void Step6() {
        StepHeading(207.4, 6, "Gründigkeit des Bodens abschätzen", kStepTextWidth);
        Add(Label({kColB, 211.7, 21.4}, "Schätzmethode:"));
        Add(Cell({kColD, 211.1, 61.6}, ListEntry(DepthMethods(), r_.Method), Align::Left));
        ResultLine(211.7, 124.9, 25.7, "Gründigkeit", IntegerText(r_.DepthSoil) + " cm ", "G");
    }

    void Step7() {
        StepHeading(222.2, 7, "Gefährdungsstufe der Bodenfruchtbarkeit bestimmen", kStepTextWidth);
        ResultLine(226.5, kColB, kStepTextWidth, "Gefährdungsstufe der Bodenfruchtbarkeit",
                   r_.GBF + " ", "GBF");

        Element box = Cell({84.7, 234.7, 82.8, 17.2}, "");
        box.kind = ElementKind::Box;
        Add(std::move(box));

        // The box underneath gives the grey; the lines themselves stay unfilled, because
        // line 2 lies over the lower half of line 1 and a filled line 2 would hide the
        // wrapped second half of a long line 1 (levels 1A and 1B).
        const std::array<std::string, 3> lines = ResultBoxLines(r_.GBF);
        static constexpr std::array<double, 3> kRows = {236.5, 240.8, 245.0};
        for (std::size_t i = 0; i < kRows.size(); ++i) {
            Element line = Label({86.8, kRows[i], 78.6, i == 0 ? 9.0 : kLineHeight}, lines[i], true,
                                 Align::Center);
            line.fill = Fill::None;
            Add(std::move(line));
        }
    }

    static std::array<std::string, 3> ResultBoxLines(const std::string& gbf) {
        auto s = [](std::string_view v) { return std::string(v); };
        if (gbf == t7::kLevel0) {
            return {"", s(t7::kLevel0Meaning), ""};
        }
        if (gbf == t7::kLevel1A) {
            return {s(t7::kLevel1AMeaning), "", s(t7::kLevel1AAdvice)};
        }
        if (gbf == t7::kLevel1B) {
            return {s(t7::kLevel1BMeaning), "", s(t7::kLevel1BAdvice)};
        }
        if (gbf == t7::kLevel2) {
            return {s(t7::kLevel2Meaning), s(t7::kLevel2Advice), s(t7::kContactAdviser)};
        }
        if (gbf == t7::kLevel3) {
            return {s(t7::kLevel3Meaning), s(t7::kLevel3Advice), s(t7::kContactAdviser)};
        }
        return {};
    }

    Page& page_;
    const AssessmentRecord& r_;
    char sep_;
};

} // namespace

Page BuildEvaluationProtocol(const AssessmentRecord& record, char separator) {
    Page page;
    page.name = "Auswerteprotokoll Gefährdungsstufe Bodenfruchtbarkeit";
    Protocol(page, record, separator).Build();
    return page;
}

} // namespace brisolt::report
