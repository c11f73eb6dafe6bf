#include <gtest/gtest.h>

#include "key/rotation/key_tables.h"

namespace brisolt {
namespace {

TEST(KeyTables, Placeholder) { EXPECT_EQ(KeyTables()[1].at(0, 0), "Tab01"); }

} // namespace
} // namespace brisolt
