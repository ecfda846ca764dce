#include "shell/UntShortenPath.h"

#include <gtest/gtest.h>

namespace {

int Characters(const QString& text) {
    return static_cast<int>(text.size());
}

} // namespace

TEST(ShortenPath, CutsFoldersFromTheFrontUntilThePathFits) {
    struct Case {
        const char* path;
        int width;
        const char* shortened;
    };
    const Case cases[] = {
        // A colon is a character of names like any other.
        {"C:/Documents/Projects/Plan.swot", 31, "C:/Documents/Projects/Plan.swot"},
        {"C:/Documents/Projects/Plan.swot", 30, ".../Projects/Plan.swot"},
        {"C:/Documents/Projects/Plan.swot", 15, ".../Plan.swot"},
        {"C:/Documents/Projects/Plan.swot", 12, "Plan.swot"},
        {"/home/ana/Meeting 10:30.swot", 23, "/.../Meeting 10:30.swot"},
        {"/home/ana/Projects/Plan.swot", 27, "/.../ana/Projects/Plan.swot"},
        {"/home/ana/Projects/Plan.swot", 26, "/.../Projects/Plan.swot"},
        {"/home/ana/Projects/Plan.swot", 22, "/.../Plan.swot"},
        {"/home/ana/Projects/Plan.swot", 13, ".../Plan.swot"},
        {"/home/ana/Projects/Plan.swot", 0, "Plan.swot"},
        {"/Plan.swot", 5, "Plan.swot"},
        {"/.hidden/x/Plan.swot", 19, "/.../x/Plan.swot"},
        {"Plan.swot", 1, "Plan.swot"},
        {"New document", 1, "New document"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(ShortenPath(c.path, c.width, Characters), c.shortened)
            << c.path << " in " << c.width;
}

TEST(ShortenPath, FileNamePartFollowsTheLastSlash) {
    struct Case {
        const char* path;
        const char* name;
    };
    const Case cases[] = {
        {"/home/ana/Plan.swot", "Plan.swot"},
        {"New document", "New document"},
        {"C:Plan.swot", "C:Plan.swot"},
        {"/home/ana/Meeting 10:30.swot", "Meeting 10:30.swot"},
        {"/home/ana/", ""},
    };
    for (const Case& c : cases)
        EXPECT_EQ(FileNamePart(c.path), c.name) << c.path;
}
