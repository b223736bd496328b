// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "runtime/number_conversion.h"
#include "runtime_fixture.h"

namespace orbela::testing {
namespace {

class InputTest : public RuntimeTest {
protected:
    const std::string enterData = Cp("Vlož data");
    const std::string pleaseRetype = Cp("Prosím přepiš");
};

using InputTextTest = InputTest;

TEST_F(InputTextTest, OneLineFillsSeveralCallsFieldByField)
{
    dialog.Confirm("abc , \"d,e\" , f");
    dialog.Confirm("g");
    std::string value = "old";
    runtime.InputText(value, InputMode::Fresh);
    EXPECT_EQ(value, "abc ");
    runtime.InputText(value, InputMode::UsePending);
    EXPECT_EQ(value, "d,e");
    runtime.InputText(value, InputMode::UsePending);
    EXPECT_EQ(value, "f");
    EXPECT_EQ(dialog.Shown(), 1);
    EXPECT_TRUE(speech.spoken.empty());
    // The typed line is not printed.
    EXPECT_TRUE(ScreenRow(0).empty());

    // The line is used up: the fourth call prompts and asks.
    runtime.InputText(value, InputMode::UsePending);
    EXPECT_EQ(value, "g");
    EXPECT_EQ(dialog.Shown(), 2);
    EXPECT_EQ(dialog.Clears(), 2);
    EXPECT_EQ(speech.spoken, std::vector<std::string>{enterData});
    EXPECT_EQ(ScreenRow(0).substr(0, enterData.size()), enterData);
}

TEST_F(InputTextTest, LinesThatGiveAnEmptyTextOrNothing)
{
    struct Case {
        std::string typed;
        bool confirmed;
        std::string value;
        std::string rest;
    };
    const std::vector<Case> cases = {
        {"", true, "old", ""},                  // empty line: unchanged
        {" \t ", true, "old", ""},              // blanks only: unchanged
        {"typed", false, "old", ""},            // closed without confirming
        {",", true, "", ""},                    // a single comma
        {" , x , y", true, "", "x , y"},        // a leading comma keeps the rest
        {"\"a, b\" , c", true, "a, b", ", c"},  // the comma goes with the next field
        {"\"unclosed, rest", true, "unclosed, rest", ""},
        {"\"in\"out, c", true, "in", "out, c"},
        {Cp("\t\r kůň \n"), true, Cp("kůň"), ""},
    };
    for (const Case& c : cases) {
        runtime.ResetRuntime();
        c.confirmed ? dialog.Confirm(c.typed) : dialog.Cancel(c.typed);
        std::string value = "old";
        runtime.InputText(value, InputMode::Fresh);
        EXPECT_EQ(value, c.value) << "typed \"" << c.typed << "\"";
        EXPECT_EQ(runtime.State().pendinginput, c.rest) << "typed \"" << c.typed << "\"";
    }
}

TEST_F(InputTextTest, ModesDecideWhetherTheRestIsKeptAndThePromptPrinted)
{
    std::string value;
    dialog.Confirm("a, b");
    runtime.InputText(value, InputMode::Fresh);
    dialog.Confirm("c, d");
    runtime.InputText(value, InputMode::FreshPrompted);
    EXPECT_EQ(value, "c");
    EXPECT_EQ(speech.spoken, std::vector<std::string>{enterData});

    // Any other mode is mode 1.
    runtime.InputText(value, static_cast<std::uint8_t>(200));
    EXPECT_EQ(value, "d");
    EXPECT_EQ(dialog.Shown(), 2);

    dialog.Confirm("e, f");
    runtime.State().language = 2000;
    runtime.InputText(value, static_cast<std::uint8_t>(200));
    EXPECT_EQ(speech.spoken, (std::vector<std::string>{enterData, "Enter data"}));

    runtime.ResetRuntime();
    dialog.Confirm("g");
    runtime.InputText(value, InputMode::UsePending);
    EXPECT_EQ(value, "g");
    EXPECT_EQ(dialog.Shown(), 4);
}

using InputNumberTest = InputTest;

TEST_F(InputNumberTest, FreshLineThatIsNoNumberIsRetypedUntilOneConverts)
{
    dialog.Confirm("abc");
    dialog.Confirm("x, 4");
    dialog.Confirm("7, 5");
    double value = -1;
    runtime.InputNumber(value, InputMode::Fresh);
    EXPECT_EQ(value, 7.0);
    EXPECT_EQ(dialog.Shown(), 3);
    EXPECT_EQ(speech.spoken, (std::vector<std::string>{pleaseRetype, pleaseRetype}));
    EXPECT_EQ(ScreenRow(1).substr(0, pleaseRetype.size()), pleaseRetype);
    // The rest of a line whose field failed is gone with it.
    EXPECT_EQ(runtime.State().pendinginput, "5");

    speech.spoken.clear();
    dialog.Confirm("x");
    dialog.Confirm("8");
    runtime.InputNumber(value, InputMode::FreshPrompted);
    EXPECT_EQ(value, 8.0);
    EXPECT_EQ(speech.spoken, (std::vector<std::string>{enterData, pleaseRetype, enterData}));
}

TEST_F(InputNumberTest, LeftoverFieldThatIsNoNumberGivesZeroWithoutAsking)
{
    dialog.Confirm("5, x");
    double value = -1;
    runtime.InputNumber(value, InputMode::Fresh);
    EXPECT_EQ(value, 5.0);
    runtime.InputNumber(value, InputMode::UsePending);
    EXPECT_EQ(value, 0.0);
    EXPECT_EQ(dialog.Shown(), 1);
    EXPECT_TRUE(speech.spoken.empty());
}

TEST_F(InputNumberTest, FieldsAreTakenOneByOneAndShareTheLineWithText)
{
    dialog.Confirm(Cp(" klíč , 1 , -2 ,3e2 ,2") + LocaleDecimalSeparator() + "5");
    std::string word;
    double numbers[4] = {};
    runtime.InputText(word, InputMode::Fresh);
    for (double& number : numbers)
        runtime.InputNumber(number, InputMode::UsePending);
    EXPECT_EQ(Utf(word), "klíč ");
    EXPECT_EQ(numbers[0], 1.0);
    EXPECT_EQ(numbers[1], -2.0);
    EXPECT_EQ(numbers[2], 300.0);
    EXPECT_EQ(numbers[3], 2.5);
    EXPECT_EQ(dialog.Shown(), 1);
}

TEST_F(InputNumberTest, LinesThatGiveZeroOrNothing)
{
    struct Case {
        std::string typed;
        bool confirmed;
        double value;
        std::string rest;
    };
    const std::vector<Case> cases = {
        {"", true, 0.0, ""},       // empty line: 0
        {"   ", true, 42.0, ""},   // blanks only: unchanged
        {",", true, 0.0, ""},      // a single comma: 0
        {",9", true, 0.0, "9"},    // a leading comma keeps the rest
        {"6", false, 42.0, ""},    // closed without confirming
    };
    for (const Case& c : cases) {
        runtime.ResetRuntime();
        c.confirmed ? dialog.Confirm(c.typed) : dialog.Cancel(c.typed);
        double value = 42.0;
        runtime.InputNumber(value, InputMode::Fresh);
        EXPECT_EQ(value, c.value) << "typed \"" << c.typed << "\"";
        EXPECT_EQ(runtime.State().pendinginput, c.rest) << "typed \"" << c.typed << "\"";
    }
    EXPECT_TRUE(speech.spoken.empty());

    // Closing the dialog after a retype also leaves the value.
    dialog.Confirm("nine");
    dialog.Cancel("9");
    double value = 42.0;
    runtime.InputNumber(value, InputMode::Fresh);
    EXPECT_EQ(value, 42.0);
    EXPECT_EQ(speech.spoken, std::vector<std::string>{pleaseRetype});
}

} // namespace
} // namespace orbela::testing
