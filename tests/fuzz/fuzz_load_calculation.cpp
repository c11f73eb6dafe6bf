// Feeds arbitrary bytes to the calculation file loader, then walks the loaded assessment
// through every step, as the CLI does.

#include <cstddef>
#include <cstdint>
#include <string>

#include "key/files/calculation_file.h"
#include "key/startup.h"
#include "key/walk.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const brisolt::AssessmentRecord fresh = brisolt::FreshRecord(2026);
    brisolt::AssessmentRecord record = fresh;
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    try {
        if (brisolt::LoadCalculationBytes(record, bytes, 2026).loaded) {
            brisolt::WalkForward(record);
        }
    } catch (const std::exception&) {
        // Refusals are answers, not faults.
    }
    return 0;
}
