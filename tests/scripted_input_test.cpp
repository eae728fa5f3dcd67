// A script's action at a window screen with no form shown is a script that does not fit the call:
// every window screen says so alike, instead of dropping the action unseen.
#include <gtest/gtest.h>

#include <string>

#include "host/screens/customer.h"
#include "host/screens/script.h"

namespace {

using namespace host;

class NoFormShown final : public ScriptedInput {
public:
    int inputs = 0;
    bool ShowsForm() const override { return false; }
    void TypeCharacter(char) override { ++inputs; }
    void PressKey(uint16_t, ShiftState) override { ++inputs; }
    void Touch(TControl&) override { ++inputs; }
    void SaveShot(const std::string&) override { ++inputs; }
};

TEST(ScriptedInput, AnActionWithNoFormShownIsAScriptError)
{
    for (const char* script : {"5", "{Enter}", "{Shift+Enter}", "[sbt05]"}) {
        SCOPED_TRACE(script);
        const std::vector<ScriptAction> actions = ParseScript(script);
        ASSERT_EQ(actions.size(), 1u);
        NoFormShown input;
        try {
            Play(actions[0], input);
            ADD_FAILURE() << "played with no form shown";
        } catch (const EScriptError& error) {
            EXPECT_STREQ(error.what(), "script: no window to act on");
        }
        EXPECT_EQ(input.inputs, 0);
    }
}

}  // namespace
