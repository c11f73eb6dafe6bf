// What both report pages promise about drawing: which texts may shrink to fit, that no
// caption's background hides a frame drawn before it, and that the farm data lines up.

#include <algorithm>
#include <cmath>
#include <functional>
#include <ostream>
#include <set>
#include <string>
#include <utility>

#include <gtest/gtest.h>

#include "key/startup.h"
#include "report/report_test_support.h"
#include "report/reports.h"

namespace brisolt::report {
namespace {

using testing::BodyText;
using testing::IsCell;

// Every text field filled, so that no value hides behind an empty text.
AssessmentRecord Filled() {
    AssessmentRecord record = FreshRecord(2026);
    record.NameSurname = "Muster Hans";
    record.Address1 = "Hof 1";
    record.Address2 = "9999 Dorf";
    record.Parzelle = "Langacker";
    record.Variant = "A";
    record.EnteredBy = "Beraterin";
    record.EnteredOn = "1.4.2026";
    record.Remark = "Hanglage";
    record.GBF = "2";
    return record;
}

struct Report {
    const char* name;
    std::function<Page(const AssessmentRecord&)> build;
    double farmTop;                                  // body y of the farm data block
    std::set<std::pair<double, double>> labelValues; // values that are not cells
};

const Report kReports[] = {
    {"protocol",
     [](const AssessmentRecord& r) { return BuildEvaluationProtocol(r, '.'); },
     2.1,
     {{38.1, 199.0}}}, // the soil loss line
    {"sheet",
     [](const AssessmentRecord& r) { return BuildRotationSheet(r, '.'); },
     10.6,
     {{0, 192.6}}}, // the remark
};

void PrintTo(const Report& report, std::ostream* os) {
    *os << report.name;
}

std::pair<double, double> Rounded(double x, double y) {
    return {std::round(x * 10) / 10, std::round(y * 10) / 10};
}

class BothReports : public ::testing::TestWithParam<Report> {};

// Cells and the texts taken from the assessment shrink to fit; every fixed caption, heading,
// unit, rill question, result line and year marker keeps its size.
TEST_P(BothReports, OnlyValuesShrink) {
    const Report& report = GetParam();
    std::set<std::pair<double, double>> values = report.labelValues;
    const double t = report.farmTop;
    for (const auto& [x, dy] : std::initializer_list<std::pair<double, double>>{{38.1, 0},
                                                                                {38.1, 4.2},
                                                                                {38.1, 8.5},
                                                                                {38.1, 12.7},
                                                                                {120.7, 0},
                                                                                {120.7, 4.2},
                                                                                {120.7, 8.5},
                                                                                {120.7, 12.7}}) {
        values.insert(Rounded(x, t + dy));
    }
    const Page page = report.build(Filled());
    int valueCount = 0;
    for (const Element& e : page.elements) {
        if (e.kind != ElementKind::Text) {
            continue;
        }
        const std::pair<double, double> at = Rounded(e.box.x - 20.0, e.box.y - 23.5);
        const bool value = IsCell(e) || values.count(at) > 0;
        valueCount += value;
        EXPECT_EQ(e.minFontPoints, value ? 6.0 : 0.0)
            << report.name << " \"" << e.text << "\" at " << at.first << ", " << at.second;
    }
    EXPECT_GT(valueCount, 10) << report.name;
}

// A later element that paints a background without a frame of its own must not lie over
// the frame line of an earlier one: the line would vanish under it.
TEST_P(BothReports, NoBackgroundHidesAFrame) {
    const Page page = GetParam().build(Filled());
    constexpr double kEps = 1e-6;
    auto inside = [](double v, double from, double to) { return v > from + kEps && v < to - kEps; };
    auto overlap = [](double a0, double a1, double b0, double b1) {
        return std::min(a1, b1) - std::max(a0, b0) > kEps;
    };
    for (std::size_t i = 0; i < page.elements.size(); ++i) {
        const Element& framed = page.elements[i];
        if (!framed.frame.Any()) {
            continue;
        }
        const RectMm& f = framed.box;
        for (std::size_t j = i + 1; j < page.elements.size(); ++j) {
            const Element& later = page.elements[j];
            if (later.fill == Fill::None || later.frame.Any()) {
                continue;
            }
            const RectMm& b = later.box;
            const bool xs = overlap(f.x, f.x + f.width, b.x, b.x + b.width);
            const bool ys = overlap(f.y, f.y + f.height, b.y, b.y + b.height);
            const bool hidden =
                (framed.frame.top && xs && inside(f.y, b.y, b.y + b.height)) ||
                (framed.frame.bottom && xs && inside(f.y + f.height, b.y, b.y + b.height)) ||
                (framed.frame.left && ys && inside(f.x, b.x, b.x + b.width)) ||
                (framed.frame.right && ys && inside(f.x + f.width, b.x, b.x + b.width));
            EXPECT_FALSE(hidden) << GetParam().name << ": \"" << later.text
                                 << "\" hides the frame of \"" << framed.text << "\" at "
                                 << f.x - 20.0 << ", " << f.y - 23.5;
        }
    }
}

// "Erstellt durch" has room for two lines; its first line stands level with the caption,
// which is one line high.
TEST_P(BothReports, EnteredByStandsLevelWithItsCaption) {
    const Page page = GetParam().build(Filled());
    const double y = GetParam().farmTop + 12.7;
    const Element& caption = BodyText(page, 82.5, y);
    const Element& value = BodyText(page, 120.7, y);
    ASSERT_EQ(caption.text, "Erstellt durch :");
    EXPECT_EQ(value.text, "Beraterin");
    EXPECT_DOUBLE_EQ(value.box.height, 8.7);
    EXPECT_DOUBLE_EQ(value.firstLineBandMm, caption.box.height);
    for (const Element& e : page.elements) {
        if (&e != &value) {
            EXPECT_EQ(e.firstLineBandMm, 0) << e.text;
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Reports, BothReports, ::testing::ValuesIn(kReports),
                         [](const auto& info) { return std::string(info.param.name); });

} // namespace
} // namespace brisolt::report
