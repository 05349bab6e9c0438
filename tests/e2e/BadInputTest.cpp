#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "e2e/E2eFixture.h"

namespace zv::test {
namespace {

// Damaged job files and odd options from the command line: the program ends
// by itself, runs nothing it should not and says why in Error.Log.
class BadInput : public EndToEnd {
  protected:
    std::string source, backup;
    void SetUp() override {
        EndToEnd::SetUp();
        source = at("bron");
        backup = at("backup");
        writeFile(source + "/a.txt", "a");
        makeDirs(backup);
    }
    std::vector<std::string> job() const {
        return {"version =Zandvast v." + appVersion(),
                "pathsource =" + source,
                "pathdestination =" + backup,
                "pathrecycler =",
                "dedato =19-12-1960 12:58:58",
                "checkdate =1",
                "syncactive =0",
                "doverify =1",
                "dustbin =0",
                "killempty =0",
                "volumelabel =",
                "-ps " + source + " -pd " + backup};
    }
    bool ran() const { return exists(backup + "/a.txt"); }
};

TEST_F(BadInput, BinaryJobFile) {
    std::string noise;
    for (int i = 0; i < 50000; ++i) noise.push_back(static_cast<char>((i * 7919) % 256));
    writeFile(appFile("Job.dat"), noise);
    const ProgramOutcome outcome = run({"-if", "Job.dat", "-qu"});
    EXPECT_EQ(outcome.exitStatus, 1) << outcome.output;
    EXPECT_FALSE(ran());
    EXPECT_NE(errorLog().find("Versienummers van applicatie ("), std::string::npos);
}

TEST_F(BadInput, EmptyJobFile) {
    writeFile(appFile("Job.dat"), "");
    const ProgramOutcome outcome = run({"-if", "Job.dat", "-qu"});
    EXPECT_EQ(outcome.exitStatus, 1) << outcome.output;
    EXPECT_FALSE(ran());
    EXPECT_NE(errorLog().find(" Error: wrong date-format\r\n"), std::string::npos);
}

TEST_F(BadInput, TenMegabyteLine) {
    auto lines = job();
    lines[1] = "pathsource =" + std::string(10 << 20, 'x');
    writeFile(appFile("Job.dat"), crlf(lines));
    const ProgramOutcome outcome = run({"-if", "Job.dat", "-qu"});
    EXPECT_EQ(outcome.exitStatus, 1) << outcome.output.substr(0, 200);
    EXPECT_FALSE(ran());
    EXPECT_NE(errorLog().find("\" bronmap bestaat niet\r\n"), std::string::npos);
}

TEST_F(BadInput, MissingLineTwelve) {
    auto lines = job();
    lines.pop_back();
    writeFile(appFile("Job.dat"), crlf(lines));
    const ProgramOutcome outcome = run({"-if", "Job.dat", "-qu"});
    EXPECT_EQ(outcome.exitStatus, 0) << outcome.output;
    EXPECT_TRUE(ran());
    EXPECT_EQ(splitCrLf(readFile(appFile("Job.dat"))).size(), 12u);  // saved whole
}

TEST_F(BadInput, LfOnlyJobFileWithByteOrderMark) {
    std::string text = "\xEF\xBB\xBF";
    for (const auto& line : job()) text += line + "\n";
    writeFile(appFile("Job.dat"), text);
    const ProgramOutcome outcome = run({"-if", "Job.dat", "-qu"});
    EXPECT_EQ(outcome.exitStatus, 0) << outcome.output;
    EXPECT_TRUE(ran());
    EXPECT_EQ(readFile(appFile("Job.dat")).find('\n'),
              readFile(appFile("Job.dat")).find("\r\n") + 1);  // written back with CR LF
}

TEST_F(BadInput, FromDateThatIsNoDateCopiesEverything) {
    const ProgramOutcome outcome =
        run({"-ps", source, "-pd", backup, "-dd", "gisteren", "-cd", "1", "-vf", "0"});
    EXPECT_EQ(outcome.exitStatus, 0) << outcome.output;
    EXPECT_TRUE(ran());
}

TEST_F(BadInput, DustbinNumberThatIsNoNumber) {
    makeDirs(at("bak"));
    const ProgramOutcome outcome =
        run({"-ps", source, "-pd", backup, "-pr", at("bak"), "-db", "twee"});
    EXPECT_EQ(outcome.exitStatus, 1) << outcome.output;
    EXPECT_FALSE(ran());
    const auto lines = splitCrLf(errorLog());
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_EQ(lines[0].substr(8), " Dustbinpath invalid");
}

TEST_F(BadInput, PathsWithSpacesAndNonAsciiLetters) {
    const std::string odd = at("Één map/met — tekens ü 日本");
    const std::string oddBackup = at("Reserve kopie ß");
    writeFile(odd + "/x y.txt", "xy");
    const ProgramOutcome outcome = run({"-ps", odd, "-pd", oddBackup, "-cd", "0", "-vf", "1"});
    EXPECT_EQ(outcome.exitStatus, 0) << outcome.output;
    EXPECT_EQ(readFile(oddBackup + "/x y.txt"), "xy");
}

// "-pr" without its value stops the option parser, so no run starts and the
// window stays open for a user; without a screen nobody could close it.
TEST_F(BadInput, OptionsThatLeaveTheWindowOpenWithoutAScreen) {
    for (const bool withPlatform : {true, false}) {
        const ProgramOutcome outcome = run({"-ps", source, "-pr", "-pd", backup}, withPlatform);
        EXPECT_FALSE(outcome.timedOut) << outcome.output;
        EXPECT_EQ(outcome.exitStatus, 1) << outcome.output;
        EXPECT_FALSE(ran());
    }
    const auto lines = splitCrLf(errorLog());
    ASSERT_EQ(lines.size(), 2u);
    for (const std::string& line : lines) {
        EXPECT_TRUE(StartsWithDateAndTime(line)) << line;
        EXPECT_NE(line.find(" Error: geen beeldscherm"), std::string::npos) << line;
    }
}

}  // namespace
}  // namespace zv::test
