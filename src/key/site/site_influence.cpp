#include "key/site/site_influence.h"

#include <cmath>

#include "key/site/site_tables.h"

namespace brisolt {

namespace {

const std::string kSandyLoamDesc =
    "Der Boden ist stark körnig. Die Sandkörner sind sehr gut fühlbar. Er lässt sich kaum "
    "ausrollen";
const std::string kClayDesc = "Der Boden ist klebrig und nicht körnig. Er ist sehr gut formbar "
                              "und lässt sich dünner als 2 mm ausrollen.";
const std::string kLoamDesc = "Der Boden ist körnig und gut formbar, aber wenig klebrig. Er lässt "
                              "sich ausrollen, bricht aber aber beim Ausrollen unter "
                              "Bleistiftdicke.";
const std::string kUnclearDesc = "Die Einstufung der Bodenart ist unklar.";

const std::string kSandyLoam = "Lehmiger Sand";
const std::string kClay = "Toniger Lehm oder lehmiger Ton";
const std::string kLoam = "Sandiger Lehm oder Lehm";

struct SoilLists {
    std::vector<std::string> names;
    std::vector<std::string> descriptions;
};

const std::vector<SoilLists>& AllSoilLists() {
    static const std::vector<SoilLists> lists = [] {
        const SoilLists standard{{kSandyLoam, kClay, kLoam, "Unklar"},
                                 {kSandyLoamDesc, kClayDesc, kLoamDesc, kUnclearDesc}};
        const SoilLists jura{{kClay, kLoam, "Unklar"}, {kClayDesc, kLoamDesc, kUnclearDesc}};
        const SoilLists hills{{kSandyLoam, kClay, kLoam, "unklar"},
                              {kSandyLoamDesc, kClayDesc, kLoamDesc, kUnclearDesc}};
        const SoilLists loess{{"Lehmiger Schluff und toniger Schluff", "unklar"},
                              {"Lössboden", kUnclearDesc}};
        return std::vector<SoilLists>{standard, standard, standard, standard,
                                      standard, jura,     hills,    loess};
    }();
    return lists;
}

const std::vector<std::string> kEmpty;

// Power as the key uses it: 1 for exponent 0, 0 for base 0, repeated multiplication for a
// whole exponent, else exp(e ln b). Gradients and flow lengths are never negative on the
// screen; a negative value from a damaged file counts as 0 instead of giving NaN.
Real KeyPower(Real base, Real exponent) {
    if (exponent == 0) {
        return 1;
    }
    if (base <= 0 && exponent > 0) {
        return 0;
    }
    if (exponent == std::trunc(exponent) && std::fabs(exponent) <= 64) {
        Real result = 1;
        for (int i = 0; i < static_cast<int>(std::fabs(exponent)); ++i) {
            result *= base;
        }
        return exponent < 0 ? 1 / result : result;
    }
    return std::exp(exponent * std::log(base));
}

} // namespace

const std::vector<std::string>& RegionLetters() {
    static const std::vector<std::string> letters{"A", "B", "C", "D", "E", "F", "G", "H"};
    return letters;
}

const std::vector<std::string>& RegionDescriptions() {
    static const std::vector<std::string> descriptions{
        "Berner Mittelland westlich der Emme, westliches Solothurner Mittelland und Jura-Südfuss, "
        "Kanton Freiburg nördlich Tafers-Heitenried",
        "Berner und Solothurner Mittelland östlich der Emme, Aargauer Mittelland und nördliches "
        "Luzerner Mittelland",
        "Südliches Luzerner Mittelland, Freiamt südlich Muri",
        "Höheres Mittelland",
        "Aare- und Gürbetal, Konolfingen - Worb",
        "Jura-Südhang, Region Thal, Region Brugg-Baden",
        "Aargauer Hügelland nördlich von Lägern und Limmat, unteres Aaretal (ohne Region H)",
        "Koblenz - Klingnau, Ruckfeld, Rüfenach, Scherz - Habsburg",
    };
    return descriptions;
}

const std::vector<std::string>& SoilTypeNames(Index region) {
    const auto& lists = AllSoilLists();
    if (region < 0 || region >= static_cast<Index>(lists.size())) {
        return kEmpty;
    }
    return lists[static_cast<std::size_t>(region)].names;
}

const std::vector<std::string>& SoilTypeDescriptions(Index region) {
    const auto& lists = AllSoilLists();
    if (region < 0 || region >= static_cast<Index>(lists.size())) {
        return kEmpty;
    }
    return lists[static_cast<std::size_t>(region)].descriptions;
}

const std::vector<std::string>& ManagementDirections() {
    static const std::vector<std::string> directions{"In Fallinie", "Quer zum Hang"};
    return directions;
}

Real StoneFactor(Int stones) {
    const Real s = stones;
    return (StoneCoef0 - s * StoneCoef1) + s * s * StoneCoef2;
}

void ComputeSiteInfluence(AssessmentRecord& record) {
    const Real s = record.Gradient;
    const Real length = record.FloatDistance;
    const Real m = LookupInterpolated(SlopeExponentTable(), s);
    const Real flowTerm = KeyPower(length / 22, m);
    const Real slopeTerm = KeyPower(s / 9, 1.5L);
    const Real managementTerm =
        record.Entertainment == 0 ? Real{1} : LookupBilinear(ContourFactorTable(), s, length);
    // Widened so that a region or soil type loaded from a damaged file cannot overflow.
    const Real key = static_cast<Real>(record.Region) * 100 + static_cast<Real>(record.SoilType);
    const Real soilFactor = LookupInterpolated(SoilFactorTable(), key);
    const Real regionFactor = LookupInterpolated(RegionFactorTable(), key);
    record.ST = slopeTerm * flowTerm * managementTerm * soilFactor * regionFactor;
    record.STReduced = record.ST * StoneFactor(record.Stones);
}

} // namespace brisolt
