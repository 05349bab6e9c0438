#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <string>

#include "config/Options.h"

namespace zv {
namespace {

std::string readSourceFile(const std::string& relative) {
    std::ifstream in(std::string(ZV_SOURCE_DIR) + "/" + relative);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

// Every option of the table is documented where users look: the README's
// list (with its summary), the man page and the shell completion.
TEST(Options, EveryOptionIsDocumented) {
    std::string readme = readSourceFile("README.md");
    for (char& c : readme)
        if (c == '\n') c = ' ';  // a summary may wrap
    const std::string manPage = readSourceFile("packaging/zandvast.1");
    const std::string completion = readSourceFile("packaging/zandvast.bash-completion");
    for (const OptionSpec& spec : kOptions) {
        const std::string name = spec.name;
        EXPECT_NE(readme.find("`" + name + "` " + spec.summary), std::string::npos) << name;
        EXPECT_NE(manPage.find("\\" + name), std::string::npos) << name;
        EXPECT_NE(completion.find("\\n" + name + "\\n"), std::string::npos) << name;
    }
}

// What the command line gives: both spellings of an option, the last of a
// repeated one, nothing for a piece too short to hold a value; and line 12
// writes them back in its own order, leaving out only the optional ones
// without a value.
TEST(Options, ValuesFromTheCommandLineAndBackOnLineTwelve) {
    const auto values =
        collectOptionValues({"InitFile", "-ps /a", "pd /b", "-sy 1", "-sy 0", "-mx 5", "-vl X"});
    ASSERT_TRUE(values);
    EXPECT_EQ(valueOf(*values, Option::Source), "/a");
    EXPECT_EQ(valueOf(*values, Option::Backup), "/b");
    EXPECT_EQ(valueOf(*values, Option::Synchronise), "0");
    EXPECT_EQ(valueOf(*values, Option::DustbinFolder), "");
    EXPECT_EQ(savedOptionLine(*values), "-ps /a -pd /b -dd  -cd  -sy 0 -vf  -ke  -vl X -mx 5");
    EXPECT_FALSE(collectOptionValues({"InitFile", "-ps"}));
    EXPECT_TRUE(collectOptionValues({"-ps"}));  // the program's own token
}

}  // namespace
}  // namespace zv
