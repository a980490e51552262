#include "platform/MznRoot.h"

#include "tests/platform/EnvGuard.h"

#include <gtest/gtest.h>

TEST(MznRootTest, RootComesFromMznRootOrTheUsersDataFolder) {
    struct Row { const char *mznRoot, *dataHome, *home, *path; };
    const Row rows[] = {{"/books//", "/d", "/h", "/books"}, {"", "/d/", "/h", "/d/mizunara"}, {"/", "/d", "/h", "/"},
                        {nullptr, "", "/h/", "/h/.local/share/mizunara"},
                        {nullptr, nullptr, "", "/tmp/.local/share/mizunara"}};
    for (const Row& row : rows) {
        EnvGuard mznRoot("MZN_ROOT", row.mznRoot), dataHome("XDG_DATA_HOME", row.dataHome), home("HOME", row.home);
        EXPECT_EQ(MznRoot::Path(), row.path);
    }
}
