#include <gtest/gtest.h>

#include <vector>

#include "platform/AutomaticDialogs.h"

namespace zv {
namespace {

class AutomaticDialogsTest : public ::testing::Test {
  protected:
    std::vector<std::string> lines;
    AutomaticDialogs dialogs{[this](const std::string& line) { lines.push_back(line); }};
};

TEST_F(AutomaticDialogsTest, InformationIsAnsweredOk) {
    EXPECT_EQ(dialogs.messageBox("Klaar", MessageStyle::Ok), MessageAnswer::Ok);
    EXPECT_EQ(dialogs.messageBox("Let op", MessageStyle::OkExclamation), MessageAnswer::Ok);
    EXPECT_EQ(lines, (std::vector<std::string>{"Automatisch beantwoord: \"Klaar\" -> OK",
                                               "Automatisch beantwoord: \"Let op\" -> OK"}));
}

TEST_F(AutomaticDialogsTest, QuestionsGetTheSafeAnswer) {
    EXPECT_EQ(
        dialogs.messageBox("Schijf vol; verwissel schijf en druk op OK", MessageStyle::OkCancel),
        MessageAnswer::Cancel);
    EXPECT_EQ(dialogs.messageBox("Map aanmaken?", MessageStyle::YesNo), MessageAnswer::No);
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[0],
              "Automatisch beantwoord: \"Schijf vol; verwissel schijf en druk op OK\" -> "
              "Annuleren");
    EXPECT_EQ(lines[1], "Automatisch beantwoord: \"Map aanmaken?\" -> Nee");
}

TEST_F(AutomaticDialogsTest, LineBreaksBecomeSlashes) {
    dialogs.messageBox("eerste\r\ntweede\nderde\rvierde", MessageStyle::YesNo);
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_EQ(lines[0], "Automatisch beantwoord: \"eerste / tweede / derde / vierde\" -> Nee");
}

TEST(AutomaticDialogsWithoutLog, StillAnswers) {
    AutomaticDialogs silent{nullptr};
    EXPECT_EQ(silent.messageBox("x", MessageStyle::YesNo), MessageAnswer::No);
}

}  // namespace
}  // namespace zv
