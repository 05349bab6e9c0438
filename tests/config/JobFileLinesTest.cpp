#include <gtest/gtest.h>

#include "config/JobFileLines.h"

namespace zv {
namespace {

TEST(JobFileLines, CrLfAndLfLineEndsBothWork) {
    const JobFileLines crlf("a\r\nb\r\n");
    const JobFileLines lf("a\nb\n");
    for (const JobFileLines* lines : {&crlf, &lf}) {
        EXPECT_EQ(lines->count(), 2u);
        EXPECT_EQ(lines->line(1), "a");
        EXPECT_EQ(lines->line(2), "b");
        EXPECT_FALSE(lines->line(3));
        EXPECT_FALSE(lines->line(0));
    }
}

TEST(JobFileLines, ByteOrderMarkIsSkipped) {
    const JobFileLines lines("\xEF\xBB\xBFversion =x\r\n");
    EXPECT_EQ(lines.line(1), "version =x");
}

TEST(JobFileLines, LastLineWithoutLineEndAndEmptyLines) {
    const JobFileLines lines("a\r\n\r\nc");
    EXPECT_EQ(lines.count(), 3u);
    EXPECT_EQ(lines.line(2), "");
    EXPECT_EQ(lines.line(3), "c");
}

TEST(JobFileLines, EmptyTextHasNoLines) {
    EXPECT_EQ(JobFileLines("").count(), 0u);
    EXPECT_FALSE(JobFileLines("").line(1));
}

TEST(JobFileLines, OnlyTheLastCarriageReturnIsALineEnd) {
    const JobFileLines lines("a\r\r\nb\rc\n");
    EXPECT_EQ(lines.line(1), "a\r");
    EXPECT_EQ(lines.line(2), "b\rc");
}

TEST(JobFileLines, JoinEndsEveryLineWithCrLf) {
    EXPECT_EQ(JoinCrLf({"a", "", "b"}), "a\r\n\r\nb\r\n");
    EXPECT_EQ(JoinCrLf({}), "");
}

}  // namespace
}  // namespace zv
