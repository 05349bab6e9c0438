#include <gtest/gtest.h>

#include <chrono>
#include <string>
#include <vector>

#include "config/ConfigFixture.h"

namespace zv::test {
namespace {

// Job files that are damaged or odd: nothing may crash or hang, and an
// unattended start must not run on them.
class BadJobFile : public ConfigTest {
  protected:
    std::string source, backup;
    void SetUp() override {
        ConfigTest::SetUp();
        source = at("bron");
        backup = at("backup");
        makeDirs(source);
        makeDirs(backup);
        writeFile(source + "/a.txt", "a");
    }
    void unattended() {
        w().CmdToken1 = "-if Init.dat";
        w().CmdToken2 = "qu";
    }
    bool ran() { return rig.fs.fileExists(backup + "/a.txt"); }
};

TEST_F(BadJobFile, EmptyFileInteractively) {
    writeFile(app() + "/Init.dat", "");
    EXPECT_EQ(w().ReadInitFile(), 0);
    EXPECT_FALSE(w().ui.closed);
    EXPECT_EQ(w().SourcePath, "");
    EXPECT_FALSE(ran());
}

TEST_F(BadJobFile, EmptyFileUnattendedIsRefused) {
    writeFile(app() + "/Init.dat", "");
    unattended();
    EXPECT_EQ(w().ReadInitFile(), 1);
    EXPECT_EQ(log(), std::vector<std::string>{stamp() + " Error: wrong date-format"});
    EXPECT_TRUE(w().JobRefused);
    EXPECT_FALSE(ran());
}

std::string BinaryNoise() {
    std::string noise;
    unsigned state = 12345;
    for (int i = 0; i < 20000; ++i) {
        state = state * 1103515245u + 12345u;
        noise.push_back(static_cast<char>(state >> 16));
    }
    return noise;
}

TEST_F(BadJobFile, BinaryFileInteractively) {
    writeFile(app() + "/Init.dat", BinaryNoise());
    EXPECT_NO_FATAL_FAILURE(w().ReadInitFile());
    EXPECT_FALSE(ran());
}

TEST_F(BadJobFile, BinaryFileUnattendedIsRefused) {
    writeFile(app() + "/Init.dat", BinaryNoise());
    unattended();
    w().ReadInitFile();
    EXPECT_TRUE(w().JobRefused);
    EXPECT_FALSE(ran());
}

TEST_F(BadJobFile, TenMegabyteLinesDoNotHang) {
    const auto started = std::chrono::steady_clock::now();
    auto lines = jobLines(source, backup);
    lines[1] = "pathsource =" + std::string(10 << 20, 'x');
    lines[2] = "pathdestination =";
    for (int i = 0; i < (5 << 20); ++i) lines[2] += "/a";
    writeJob(lines);
    unattended();
    EXPECT_EQ(w().ReadInitFile(), 1);
    EXPECT_FALSE(ran());

    restart();
    w().ReadInitFile();  // interactively: boxes, but no hang
    EXPECT_LT(std::chrono::steady_clock::now() - started, std::chrono::seconds(20));
    EXPECT_FALSE(ran());
}

TEST_F(BadJobFile, TenMegabyteBackupPathUnattended) {
    const auto started = std::chrono::steady_clock::now();
    auto lines = jobLines(source, backup);
    lines[2] = "pathdestination =";
    for (int i = 0; i < (5 << 20); ++i) lines[2] += "/a";
    writeJob(lines);
    unattended();
    EXPECT_EQ(w().ReadInitFile(), 1);
    ASSERT_EQ(log().size(), 1u);
    EXPECT_NE(log()[0].find(" - kan pad niet maken"), std::string::npos);
    EXPECT_LT(std::chrono::steady_clock::now() - started, std::chrono::seconds(20));
}

TEST_F(BadJobFile, MissingLineTwelveStillRuns) {
    auto lines = jobLines(source, backup);
    lines.pop_back();
    writeJob(lines);
    unattended();
    EXPECT_EQ(w().ReadInitFile(), 0);
    EXPECT_TRUE(log().empty());
    EXPECT_TRUE(ran());
}

TEST_F(BadJobFile, FileCutOffAfterFiveLinesIsRefusedUnattended) {
    auto lines = jobLines(source, backup);
    lines.resize(5);
    writeJob(lines);
    unattended();
    EXPECT_EQ(w().ReadInitFile(), 1);
    EXPECT_EQ(log(), std::vector<std::string>{time() + " An error has occurred"});
    EXPECT_FALSE(ran());
}

TEST_F(BadJobFile, FileCutOffAfterFourLinesIsRefusedAtTheDate) {
    auto lines = jobLines(source, backup);
    lines.resize(4);
    writeJob(lines);
    unattended();
    EXPECT_EQ(w().ReadInitFile(), 1);
    EXPECT_EQ(log(), std::vector<std::string>{stamp() + " Error: wrong date-format"});
}

TEST_F(BadJobFile, FileCutOffInteractivelyKeepsWhatWasRead) {
    auto lines = jobLines(source, backup);
    lines.resize(3);
    writeJob(lines);
    EXPECT_EQ(w().ReadInitFile(), 0);
    EXPECT_EQ(w().SourcePath, source);
    EXPECT_EQ(w().DestinationPath, backup);
    EXPECT_FALSE(w().ui.closed);
}

TEST_F(BadJobFile, PathsWithSpacesAndNonAsciiLetters) {
    const std::string odd = at("Mijn Documenten/Één — ü ß 日本");
    const std::string oddBackup = at("Reservekopie van één");
    makeDirs(odd);
    writeFile(odd + "/b.txt", "b");
    writeJob(jobLines(odd, oddBackup));
    unattended();
    EXPECT_EQ(w().ReadInitFile(), 0);
    EXPECT_EQ(w().SourcePath, odd);
    EXPECT_EQ(readFile(oddBackup + "/b.txt"), "b");
}

TEST_F(BadJobFile, NoDateInTheDateLineStopsOnlyUnattended) {
    auto lines = jobLines(source, backup);
    lines[4] = "dedato =";
    writeJob(lines);
    EXPECT_EQ(w().ReadInitFile(), 0);
    EXPECT_EQ(w().FromDate, "");
}

}  // namespace
}  // namespace zv::test
