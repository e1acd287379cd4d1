// Linked into the test programs that draw text (see charvane_test_suite's FONTS option).

#include "tests/support/Machine.h"

namespace {

[[maybe_unused]] ::testing::Environment* const g_fonts =
    ::testing::AddGlobalTestEnvironment(new charvane::testing::FontsRequired);

} // namespace
