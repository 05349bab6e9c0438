#include "e2e/E2eFixture.h"

namespace zv::test {
namespace {

// Damaged job files and odd options: the program ends by itself, runs
// nothing it should not and says why in Error.Log.
using BadInput = EndToEnd;

TEST_F(BadInput, UnusableJobFilesAreRefusedWithTheirLogLine) {
    std::string noise;
    for (int i = 0; i < 50000; ++i) noise.push_back(static_cast<char>((i * 7919) % 256));
    Lines longLine = job();
    longLine[1] = "pathsource =" + std::string(10 << 20, 'x');
    const std::pair<std::string, std::string> cases[] = {
        {noise, "\" bevat een fout in regel "},
        {"", " Error: wrong date-format\r\n"},
        {crlf(longLine), "\" bronmap bestaat niet\r\n"}};
    for (const auto& [text, logged] : cases) {
        SCOPED_TRACE(logged);
        writeFile(app + "/Job.dat", text);
        refused({"-if", "Job.dat", "-qu"});
        EXPECT_NE(errorLog().find(logged), std::string::npos) << errorLog().substr(0, 300);
    }
}

TEST_F(BadInput, ShortOrForeignJobFilesRunAndAreSavedWhole) {
    Lines lines = job();
    lines.pop_back();  // no line 12
    std::string lfWithMark = "\xEF\xBB\xBF";
    for (const auto& line : job()) lfWithMark += line + "\n";
    for (const std::string& text : {crlf(lines), lfWithMark}) {
        std::filesystem::remove_all(backup);
        makeDirs(backup);
        writeFile(app + "/Job.dat", text);
        const ProgramOutcome outcome = run({"-if", "Job.dat", "-qu"});
        EXPECT_EQ(outcome.exitStatus, 0) << outcome.output;
        EXPECT_TRUE(copied());
        const std::string saved = readFile(app + "/Job.dat");
        EXPECT_EQ(split(saved).size(), 12u);
        EXPECT_EQ(saved.find('\n'), saved.find("\r\n") + 1);  // written back with CR LF
    }
}

TEST_F(BadInput, OddOptions) {
    // A dustbin number that is no number is refused, not guessed.
    makeDirs(root / "bak");
    EXPECT_EQ(refused({"-ps", source, "-pd", backup, "-pr", root / "bak", "-db", "twee"}),
              Lines{"TIME Dustbinpath invalid"});
    // "-pr" without its value stops the option parser, so no run starts and
    // the window stays open for a user; without a screen nobody could close it.
    for (const bool withPlatform : {true, false}) {
        EXPECT_EQ(refused({"-ps", source, "-pr", "-pd", backup}, withPlatform),
                  Lines{"DATE TIME Error: geen beeldscherm; het venster kan niet wachten en wordt "
                        "gesloten"});
    }
    // A from-date that is no date copies everything.
    const ProgramOutcome outcome =
        run({"-ps", source, "-pd", backup, "-dd", "gisteren", "-cd", "1", "-vf", "0"});
    EXPECT_EQ(outcome.exitStatus, 0) << outcome.output;
    EXPECT_TRUE(copied());
}

}  // namespace
}  // namespace zv::test
