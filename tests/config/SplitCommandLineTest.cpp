#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/frmVergelijker.h"

namespace zv {
namespace {

using Tokens = std::vector<std::string>;

Tokens Split(const std::string& text) {
    return frmVergelijker::SplitCommandLine(text);
}

TEST(SplitCommandLine, JobFileWithRunMode) {
    EXPECT_EQ(Split("-if Job.dat -qu"), (Tokens{"InitFile", "-if Job.dat", "qu"}));
}

TEST(SplitCommandLine, OptionsLoseTheirHyphenAfterTheFirst) {
    EXPECT_EQ(Split("-ps /data -pd MYDISK/Backup -db 1"),
              (Tokens{"NoInitFile", "-ps /data", "pd MYDISK/Backup", "db 1"}));
}

TEST(SplitCommandLine, EmptyTextIsTheInteractiveForm) {
    EXPECT_EQ(Split(""), (Tokens{"InitFile", ""}));
}

TEST(SplitCommandLine, OneOptionWithoutSeparatorIsTheInteractiveForm) {
    EXPECT_EQ(Split("-ps /data"), (Tokens{"InitFile", "-ps /data"}));
}

TEST(SplitCommandLine, JobFileAloneHasNoRunModePiece) {
    EXPECT_EQ(Split("-if Job.dat"), (Tokens{"InitFile", "-if Job.dat"}));
}

TEST(SplitCommandLine, OnlyThePieceRightAfterTheJobFileIsTheRunMode) {
    EXPECT_EQ(Split("-if Job.dat -qu -cf 1"), (Tokens{"InitFile", "-if Job.dat", "qu", "cf 1"}));
    EXPECT_EQ(Split("-if Job.dat -qu cf 1"), (Tokens{"InitFile", "-if Job.dat", "qu cf 1"}));
}

TEST(SplitCommandLine, PathsWithSpaceHyphenAreCut) {
    EXPECT_EQ(Split("-ps /home/My -Files -pd /b"),
              (Tokens{"NoInitFile", "-ps /home/My", "Files", "pd /b"}));
}

TEST(SplitCommandLine, PathsWithSpacesAndNonAsciiLettersStayWhole) {
    EXPECT_EQ(
        Split("-ps /home/jörg/Mijn documenten -pd /media/Schijf één/Back-up"),
        (Tokens{"NoInitFile", "-ps /home/jörg/Mijn documenten", "pd /media/Schijf één/Back-up"}));
}

TEST(SplitCommandLine, JobFileWithoutName) {
    EXPECT_EQ(Split("-if -qu"), (Tokens{"InitFile", "-if", "qu"}));
}

TEST(SplitCommandLine, EmptyPiecesBetweenAdjacentSeparators) {
    EXPECT_EQ(Split("a - -b"), (Tokens{"NoInitFile", "a", "", "b"}));
    EXPECT_EQ(Split("a -"), (Tokens{"NoInitFile", "a", ""}));
}

TEST(SplitCommandLine, LeadingSeparatorGivesTheWholeTextAsFirstPiece) {
    EXPECT_EQ(Split(" -if x"), (Tokens{"InitFile", " -if x", "if x"}));
}

}  // namespace
}  // namespace zv
