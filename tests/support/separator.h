#pragma once
// Sets the regional decimal separator for one test and restores it afterwards.

#include "key/core/number_text.h"

namespace brisolt::testing {

class SeparatorScope {
public:
    explicit SeparatorScope(char separator) : previous_(DecimalSeparator()) {
        SetDecimalSeparator(separator);
    }
    ~SeparatorScope() { SetDecimalSeparator(previous_); }
    SeparatorScope(const SeparatorScope&) = delete;
    SeparatorScope& operator=(const SeparatorScope&) = delete;

private:
    char previous_;
};

} // namespace brisolt::testing
