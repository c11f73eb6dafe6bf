#include <gtest/gtest.h>

#include <random>

#include "key/core/errors.h"
#include "key/rotation/crop_rotation_factor.h"
#include "key/rotation/rotation_checks.h"
#include "rotation_test_support.h"

namespace brisolt {
namespace {

using Robustness = testing::Step2Test;

// Records as an edited file may hold them: any index, in or out of range. Showing, checking
// and calculating must neither crash nor read outside a list, and a refusal must leave the
// record equal to the screen.
TEST_F(Robustness, AnyStoredIndexes) {
    std::mt19937 random(20240611);
    std::uniform_int_distribution<int> pick(0, 9);
    const Index values[] = {-100, -5, -1, 0, 1, 2, 3, 5, 8, 12, 38, 39, 99};
    std::uniform_int_distribution<std::size_t> value(0, std::size(values) - 1);
    std::uniform_int_distribution<Index> crop(0, 38);
    for (int round = 0; round < 3000; ++round) {
        ResetRecordDefaults(record, 2024);
        for (RotationYear& y : record.Rotation) {
            y.a = pick(random) < 7 ? crop(random) : values[value(random)];
            y.b = values[value(random)];
            y.c = values[value(random)];
            y.d = values[value(random)];
            y.e = values[value(random)];
        }
        record.KWBCount = pick(random);
        record.BFPercentage = pick(random) * 10;
        form.Activate(record);
        const auto message = form.Next(record);
        AssessmentRecord screen = record;
        form.ReadStep2Inputs(screen);
        for (int n = 1; n <= kRotationYears; ++n) {
            const RotationYear& a = record.RotationYearAt(n);
            const RotationYear& b = screen.RotationYearAt(n);
            ASSERT_EQ(std::tie(a.a, a.b, a.c, a.d, a.e), std::tie(b.a, b.b, b.c, b.d, b.e));
        }
        if (!message) {
            EXPECT_GE(record.C, 0);
            EXPECT_LE(record.BFPercentage, 100);
        }
        // The calculation alone, on positions the screen never saw.
        AssessmentRecord raw = record;
        for (RotationYear& y : raw.Rotation) {
            y.c = values[value(random)];
            y.e = values[value(random)];
        }
        ComputeCropRotationFactor(raw, form);
    }
}

// Random user events in random order keep the lists consistent with their choices.
TEST_F(Robustness, AnySequenceOfChoices) {
    std::mt19937 random(7);
    std::uniform_int_distribution<int> year(1, kRotationYears);
    std::uniform_int_distribution<int> choice(0, kChoicesPerYear - 1);
    std::uniform_int_distribution<Index> position(-2, 40);
    for (int step = 0; step < 20000; ++step) {
        const int n = year(random);
        form.ChoiceChange(n, static_cast<Choice>(choice(random)), position(random), record);
        if (step % 97 == 0) {
            (void)form.Calculate(record);
        }
        if (step % 503 == 0) {
            form.Activate(record);
        }
        const Step2Year& row = form.Row(n);
        for (const OptionList& list : row.Lists) {
            ASSERT_TRUE(list.Chosen() == kNone || list.Contains(list.Chosen()));
        }
        if (row.List(Choice::Crop).Chosen() <= 0) {
            ASSERT_EQ(row.List(Choice::PeriodType).Count(), 0);
        }
        if (row.List(Choice::PeriodType).Chosen() <= 1) {
            ASSERT_EQ(row.List(Choice::PeriodStart).Count(), 0);
        }
    }
}

} // namespace
} // namespace brisolt
