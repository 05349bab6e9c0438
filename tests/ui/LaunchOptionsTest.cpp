#include <gtest/gtest.h>

#include "ui/LaunchOptions.h"

namespace zv::test {
namespace {

TEST(LaunchOptions, OnlyTheExactTextsAreTakenFirst) {
    EXPECT_EQ(RequestOf("--version"), LaunchRequest::PrintVersion);
    EXPECT_EQ(RequestOf("--help"), LaunchRequest::PrintHelp);
    EXPECT_EQ(RequestOf("--version x"), LaunchRequest::Run);
    EXPECT_EQ(RequestOf("-if Job.dat --help"), LaunchRequest::Run);
    EXPECT_EQ(RequestOf(""), LaunchRequest::Run);
}

TEST(LaunchOptions, VersionLine) {
    Version v;
    v.major = 20;
    v.minor = 0;
    v.revision = 1;
    EXPECT_EQ(VersionLine(v), "Zandvast v.20.0.1");
}

TEST(LaunchOptions, UsageNamesEveryForm) {
    const std::string usage = UsageText();
    for (const char* piece : {"-if FILE", "-qu", "-x", "-cf 1", "-ps", "-pd", "-pr", "-dd", "-cd",
                              "-sy", "-vf", "-db", "-vl", "-ke"})
        EXPECT_NE(usage.find(piece), std::string::npos) << piece;
}

TEST(LaunchOptions, UnattendedStartsAreKnownFromTheCommandLine) {
    EXPECT_TRUE(IsUnattendedStart("-if Job.dat -qu"));
    EXPECT_TRUE(IsUnattendedStart("-ps /data -pd /backup"));
    EXPECT_FALSE(IsUnattendedStart(""));
}

TEST(LaunchOptions, AnExplicitPlatformIsHonoured) {
    EXPECT_EQ(ChooseDisplay("", {true, false, false}), DisplayChoice::AsConfigured);
    EXPECT_EQ(ChooseDisplay("-if Job.dat -qu", {true, false, false}), DisplayChoice::AsConfigured);
}

TEST(LaunchOptions, ADisplayIsUsedWhenThereIsOne) {
    EXPECT_EQ(ChooseDisplay("", {false, true, false}), DisplayChoice::AsConfigured);
    EXPECT_EQ(ChooseDisplay("", {false, false, true}), DisplayChoice::AsConfigured);
}

TEST(LaunchOptions, WithoutDisplayUnattendedDrawsOffscreen) {
    EXPECT_EQ(ChooseDisplay("-if Job.dat -qu", {}), DisplayChoice::Offscreen);
    EXPECT_EQ(ChooseDisplay("-ps /data -pd /backup", {}), DisplayChoice::Offscreen);
}

TEST(LaunchOptions, WithoutDisplayAnInteractiveStartCannotRun) {
    EXPECT_EQ(ChooseDisplay("", {}), DisplayChoice::NoDisplay);
}

}  // namespace
}  // namespace zv::test
