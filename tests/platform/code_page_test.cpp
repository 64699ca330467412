// The project runs every Windows program with the Russian locale: the library's texts and the
// kernel's converted texts are Windows-1251, as on the target machines.
#include <windows.h>

#include <gtest/gtest.h>

TEST(Platform, AnsiCodePageIs1251) {
    EXPECT_EQ(GetACP(), 1251u);
    EXPECT_EQ(GetOEMCP(), 866u);
}
