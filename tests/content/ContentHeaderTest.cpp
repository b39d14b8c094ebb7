#include "content/ContentHeader.h"

#include <gtest/gtest.h>
#include <windows.h>
#include <string>

TEST(Smoke, RunsUnderWine)
{
    char sz[MAX_PATH];
    ASSERT_GT(GetSystemDirectoryA(sz, sizeof(sz)), 0u);
    EXPECT_EQ(950u, GetACP());
}
