// What the measures search costs must not depend on the free texts, which change no result:
// the bytes it allocates are counted with a file of an empty remark and one of a huge remark
// (this program replaces operator new, so it runs apart from the other tests).

#include <atomic>
#include <cstdlib>
#include <new>

#include <gtest/gtest.h>

#include "key/files/calculation_file.h"
#include "key/measures/measures.h"
#include "key/startup.h"

namespace {
std::atomic<std::size_t> allocated{0};
} // namespace

void* operator new(std::size_t size) {
    allocated += size;
    if (void* p = std::malloc(size > 0 ? size : 1)) {
        return p;
    }
    throw std::bad_alloc();
}
void operator delete(void* p) noexcept {
    std::free(p);
}
void operator delete(void* p, std::size_t) noexcept {
    std::free(p);
}

namespace brisolt {
namespace {

std::size_t BytesAllocatedBySearch(const AssessmentRecord& record) {
    const std::size_t before = allocated;
    const MeasureExploration exploration = ExploreMeasures(record);
    EXPECT_GT(exploration.rows.size(), 5u);
    return allocated - before;
}

TEST(MeasuresCost, AHugeRemarkOrNameIsCopiedAFewTimesNotOncePerTrial) {
    BuildKeyTables();
    AssessmentRecord plain = FreshRecord(2024);
    LoadCalculation(plain, std::string(BRISOLT_TEST_DATA) + "/worked_example.txt", 2024);
    const std::size_t base = BytesAllocatedBySearch(plain);
    constexpr std::size_t kHuge = 1 << 20;
    for (std::string AssessmentRecord::*text :
         {&AssessmentRecord::Remark, &AssessmentRecord::NameSurname}) {
        AssessmentRecord huge = plain;
        huge.*text = std::string(kHuge, 'x');
        const std::size_t bytes = BytesAllocatedBySearch(huge);
        // The current row keeps the text (the search's result is shown with it); the trials
        // of the search never copy it.
        EXPECT_LT(bytes, base + 16 * kHuge) << "base " << base << ", with the text " << bytes;
    }
}

} // namespace
} // namespace brisolt
