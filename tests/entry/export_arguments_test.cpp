// The calling form of the plain exports' arguments.
#include "entry/export_arguments.h"

#include <gtest/gtest.h>

using namespace kv;

namespace {

TEST(ExportArguments, OnlyTheLowByteOfABooleanSlotCounts) {
    const struct {
        BoolSlot slot;
        bool value;
    } cases[] = {{0, false},         {1, true},     {0xFF, true},
                 {256, false},       {0x101, true}, {0xFFFFFF00u, false},
                 {0xFFFFFFFFu, true}};
    for (const auto& c : cases)
        EXPECT_EQ(BoolArgument(c.slot), c.value) << "slot " << c.slot;
}

TEST(ExportArguments, NullStringAddressIsEmptyText) {
    EXPECT_EQ(TextArgument(nullptr), "");
    EXPECT_EQ(TextArgument(""), "");
    EXPECT_EQ(TextArgument("Деталь"), "Деталь");
}

} // namespace
