#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "runtime/number_conversion.h"
#include "runtime_fixture.h"

namespace orbela::testing {
namespace {

class InputTest : public RuntimeTest {
protected:
    std::string EnterData() const { return Cp("Vlož data"); }
    std::string PleaseRetype() const { return Cp("Prosím přepiš"); }
    std::string Padded(std::string text) const
    {
        text.resize(80, ' ');
        return text;
    }
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

    // The line is used up: the fourth call prompts and asks.
    runtime.InputText(value, InputMode::UsePending);
    EXPECT_EQ(value, "g");
    EXPECT_EQ(dialog.Shown(), 2);
    EXPECT_EQ(speech.spoken, std::vector<std::string>{EnterData()});
    EXPECT_EQ(ScreenRow(0), Padded(EnterData()));
    EXPECT_EQ(Row(), 1);
}

TEST_F(InputTextTest, FieldIsClearedBeforeEveryShowAndTheTypedLineIsNotPrinted)
{
    dialog.Confirm("typed");
    dialog.Confirm("again");
    std::string value;
    runtime.InputText(value, InputMode::Fresh);
    runtime.InputText(value, InputMode::Fresh);
    EXPECT_EQ(value, "again");
    EXPECT_EQ(dialog.Clears(), 2);
    EXPECT_TRUE(ScreenRow(0).empty());
    EXPECT_EQ(Column(), 0);
    EXPECT_EQ(Row(), 0);
}

TEST_F(InputTextTest, LeadingCommaGivesAnEmptyTextAndKeepsTheRest)
{
    dialog.Confirm(" , x , y");
    std::string value = "old";
    runtime.InputText(value, InputMode::Fresh);
    EXPECT_EQ(value, "");
    EXPECT_EQ(runtime.State().pendinginput, "x , y");
    runtime.InputText(value, InputMode::UsePending);
    EXPECT_EQ(value, "x ");
    runtime.InputText(value, InputMode::UsePending);
    EXPECT_EQ(value, "y");
    EXPECT_EQ(dialog.Shown(), 1);
}

TEST_F(InputTextTest, LinesThatGiveNothingOrAnEmptyText)
{
    struct Case {
        const char* typed;
        bool confirmed;
        const char* result;
    };
    const std::vector<Case> cases = {
        {"", true, "old"},          // empty line: unchanged
        {" \t  ", true, "old"},     // blanks only: unchanged
        {",", true, ""},            // a single comma: an empty text
        {" , ", true, ""},
        {"typed", false, "old"},    // dialog closed without confirming
        {"\"", true, ""},           // a lone quote opens an empty field
        {"\"\"", true, ""},
    };
    for (const Case& c : cases) {
        runtime.ResetRuntime();
        if (c.confirmed)
            dialog.Confirm(c.typed);
        else
            dialog.Cancel(c.typed);
        std::string value = "old";
        runtime.InputText(value, InputMode::Fresh);
        EXPECT_EQ(value, c.result) << "typed \"" << c.typed << "\"";
        EXPECT_EQ(runtime.State().pendinginput, "") << "typed \"" << c.typed << "\"";
    }
}

TEST_F(InputTextTest, QuotedFields)
{
    dialog.Confirm("\"a, b\" , \"unclosed, rest , of line");
    std::string value;
    runtime.InputText(value, InputMode::Fresh);
    EXPECT_EQ(value, "a, b");
    runtime.InputText(value, InputMode::UsePending);
    EXPECT_EQ(value, "unclosed, rest , of line");
    EXPECT_EQ(runtime.State().pendinginput, "");

    // Text after a closing quote starts the next field.
    dialog.Confirm("\"in\"out, last");
    runtime.InputText(value, InputMode::Fresh);
    EXPECT_EQ(value, "in");
    runtime.InputText(value, InputMode::UsePending);
    EXPECT_EQ(value, "out");
    runtime.InputText(value, InputMode::UsePending);
    EXPECT_EQ(value, "last");
    EXPECT_EQ(dialog.Shown(), 2);
}

TEST_F(InputTextTest, TrimsBlanksAndControlCharactersButNotLetters)
{
    dialog.Confirm(Cp("\t\r žluťoučký kůň \n"));
    std::string value;
    runtime.InputText(value, InputMode::Fresh);
    EXPECT_EQ(value, Cp("žluťoučký kůň"));
}

TEST_F(InputTextTest, ModesDecideWhetherTheRestIsKeptAndThePromptPrinted)
{
    std::string value;
    dialog.Confirm("a, b");
    runtime.InputText(value, InputMode::Fresh);

    // Mode 2 drops the rest and prompts.
    dialog.Confirm("c, d");
    runtime.InputText(value, InputMode::FreshPrompted);
    EXPECT_EQ(value, "c");
    EXPECT_EQ(speech.spoken, std::vector<std::string>{EnterData()});

    // Any other mode is mode 1: the rest is used without asking...
    runtime.InputText(value, static_cast<std::uint8_t>(200));
    EXPECT_EQ(value, "d");
    EXPECT_EQ(dialog.Shown(), 2);
    // ...and a new line is prompted for.
    dialog.Confirm("e");
    runtime.InputText(value, static_cast<std::uint8_t>(200));
    EXPECT_EQ(value, "e");
    EXPECT_EQ(speech.spoken, (std::vector<std::string>{EnterData(), EnterData()}));
}

TEST_F(InputTextTest, PromptFollowsTheLanguage)
{
    runtime.State().language = 2000;
    dialog.Confirm("x");
    std::string value;
    runtime.InputText(value, InputMode::FreshPrompted);
    EXPECT_EQ(speech.spoken, std::vector<std::string>{"Enter data"});
}

TEST_F(InputTextTest, ResetDiscardsTheRestOfTheLine)
{
    dialog.Confirm("a, b");
    dialog.Confirm("c");
    std::string value;
    runtime.InputText(value, InputMode::Fresh);
    runtime.ResetRuntime();
    runtime.InputText(value, InputMode::UsePending);
    EXPECT_EQ(value, "c");
    EXPECT_EQ(dialog.Shown(), 2);
}

using InputNumberTest = InputTest;

TEST_F(InputNumberTest, FreshLineThatIsNoNumberIsRetypedUntilOneConverts)
{
    dialog.Confirm("abc");
    dialog.Confirm("1.2.3");
    dialog.Confirm("7");
    double value = -1;
    runtime.InputNumber(value, InputMode::Fresh);

    EXPECT_EQ(value, 7.0);
    EXPECT_EQ(dialog.Shown(), 3);
    EXPECT_EQ(speech.spoken, (std::vector<std::string>{PleaseRetype(), PleaseRetype()}));
    EXPECT_EQ(ScreenRow(0), Padded(PleaseRetype()));
    EXPECT_EQ(ScreenRow(1), Padded(PleaseRetype()));
    EXPECT_EQ(runtime.State().pendinginput, "");
}

TEST_F(InputNumberTest, RetypeInPromptingModeAsksWithThePromptAgain)
{
    dialog.Confirm("x");
    dialog.Confirm("8");
    double value = 0;
    runtime.InputNumber(value, InputMode::FreshPrompted);
    EXPECT_EQ(value, 8.0);
    EXPECT_EQ(speech.spoken, (std::vector<std::string>{EnterData(), PleaseRetype(), EnterData()}));
}

TEST_F(InputNumberTest, LeftoverFieldThatIsNoNumberGivesZeroWithoutAsking)
{
    dialog.Confirm("5, x");
    double value = -1;
    runtime.InputNumber(value, InputMode::Fresh);
    EXPECT_EQ(value, 5.0);
    EXPECT_EQ(runtime.State().pendinginput, "x");

    runtime.InputNumber(value, InputMode::UsePending);
    EXPECT_EQ(value, 0.0);
    EXPECT_EQ(dialog.Shown(), 1);
    EXPECT_TRUE(speech.spoken.empty());
    EXPECT_EQ(runtime.State().pendinginput, "");
}

TEST_F(InputNumberTest, FieldsAreTakenOneByOne)
{
    dialog.Confirm(" 1 , -2 ,3e2 ");
    double a = 0, b = 0, c = 0;
    runtime.InputNumber(a, InputMode::Fresh);
    runtime.InputNumber(b, InputMode::UsePending);
    runtime.InputNumber(c, InputMode::UsePending);
    EXPECT_EQ(a, 1.0);
    EXPECT_EQ(b, -2.0);
    EXPECT_EQ(c, 300.0);
    EXPECT_EQ(dialog.Shown(), 1);
}

TEST_F(InputNumberTest, FractionUsesTheLocaleSeparator)
{
    dialog.Confirm(std::string("2") + LocaleDecimalSeparator() + "5");
    double value = 0;
    runtime.InputNumber(value, InputMode::Fresh);
    EXPECT_EQ(value, 2.5);
}

TEST_F(InputNumberTest, LinesThatGiveZeroOrNothing)
{
    struct Case {
        const char* typed;
        bool confirmed;
        double result;
        const char* rest;
    };
    const std::vector<Case> cases = {
        {"", true, 0.0, ""},         // empty line: 0
        {"   ", true, 42.0, ""},     // blanks only: unchanged
        {",", true, 0.0, ""},        // single comma: 0
        {",9", true, 0.0, "9"},      // leading comma: 0, the rest kept
        {"6", false, 42.0, ""},      // dialog closed without confirming
    };
    for (const Case& c : cases) {
        runtime.ResetRuntime();
        if (c.confirmed)
            dialog.Confirm(c.typed);
        else
            dialog.Cancel(c.typed);
        double value = 42.0;
        runtime.InputNumber(value, InputMode::Fresh);
        EXPECT_EQ(value, c.result) << "typed \"" << c.typed << "\"";
        EXPECT_EQ(runtime.State().pendinginput, c.rest) << "typed \"" << c.typed << "\"";
        EXPECT_TRUE(speech.spoken.empty()) << "typed \"" << c.typed << "\"";
    }
}

TEST_F(InputNumberTest, CancelAfterRetypeLeavesTheValue)
{
    dialog.Confirm("nine");
    dialog.Cancel("9");
    double value = 42.0;
    runtime.InputNumber(value, InputMode::Fresh);
    EXPECT_EQ(value, 42.0);
    EXPECT_EQ(dialog.Shown(), 2);
    EXPECT_EQ(speech.spoken, std::vector<std::string>{PleaseRetype()});
}

TEST_F(InputNumberTest, BadFirstFieldRetypesTheWholeLine)
{
    // The rest of a line whose field failed is not kept.
    dialog.Confirm("x, 4");
    dialog.Confirm("3, 5");
    double value = 0;
    runtime.InputNumber(value, InputMode::Fresh);
    EXPECT_EQ(value, 3.0);
    EXPECT_EQ(runtime.State().pendinginput, "5");
}

TEST_F(InputNumberTest, TextAndNumberStatementsShareTheRestOfTheLine)
{
    dialog.ConfirmUtf8("klíč, 12");
    std::string word;
    double count = 0;
    runtime.InputText(word, InputMode::Fresh);
    runtime.InputNumber(count, InputMode::UsePending);
    EXPECT_EQ(Utf(word), "klíč");
    EXPECT_EQ(count, 12.0);
    EXPECT_EQ(dialog.Shown(), 1);
}

} // namespace
} // namespace orbela::testing
