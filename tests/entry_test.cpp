#include <gtest/gtest.h>

#include <algorithm>

#include "support/call_harness.h"
#include "entry/entry.h"
#include "host/forms/application.h"
#include "host/screens/headless_screen.h"
#include "host/services/services.h"
#include "host/text/trace.h"

using testing_support::Call;

TEST(Entry, TypicalCallReturnsDocumentNameAndAddress)
{
    const auto result = Call().Run("52998224725{Enter}maria{Enter}rua das flores{Enter}");
    ASSERT_FALSE(result.error) << *result.error;
    const std::array<std::string, 8> expected = {"52998224725", "maria", "rua das flores", "N", "N", "N", "", "N"};
    EXPECT_EQ(result.slots, expected);
    EXPECT_EQ(result.Last("display"), "RUA DAS FLORES");
}

TEST(Entry, ScriptThatEndsWhileTheDialogWaitsIsAnErrorNotAHang)
{
    const auto result = Call().Run("123");
    ASSERT_TRUE(result.error);
    EXPECT_EQ(*result.error, "input ended at step 1");
    EXPECT_FALSE(Cli_Tzc04182::frmCNPJCPF->Modal());
}

namespace {

using host::Variant;
using testing_support::CallEntry;
using testing_support::CallResult;
using Slots = std::array<std::string, 8>;

std::vector<Variant> TypicalParams()
{
    std::vector<Variant> params;
    for (const char* value : {"", "", "", "N", "N", "PDV", "", "S", "N", "N", "N", "N", "", "N", "N", "S", "N"})
        params.emplace_back(std::string_view(value));
    return params;
}

const char* kTypicalScript = "52998224725{Enter}maria{Enter}rua das flores{Enter}";

// Collects the trace lines while it lives.
class TraceLines {
public:
    TraceLines() { host::SetTraceSink([this](const std::string& line) { lines.push_back(line); }); }
    ~TraceLines() { host::SetTraceSink(nullptr); }
    std::vector<std::string> lines;
};

}  // namespace

TEST(Entry, EachSlotIsCutToItsLength)
{
    const std::string document(35, '7'), name(35, 'n'), address(81, 'a'), telephone(90, '1'), code(30, 'c'),
        foreign(25, 'f'), email(60, 'e'), search(60, 'p');
    const CallResult result = Call()
                                  .Param(0, document)
                                  .Param(1, name)
                                  .Param(2, address)
                                  .Param(3, telephone)
                                  .Param(8, code)
                                  .Param(9, foreign)
                                  .Param(12, email)
                                  .Param(14, search)
                                  .Run("{Enter}{Enter}");
    ASSERT_FALSE(result.error) << *result.error;
    EXPECT_EQ(result.slots, (Slots{document.substr(0, 29), name.substr(0, 30), address.substr(0, 80),
                                   telephone.substr(0, 80), code.substr(0, 10), foreign.substr(0, 20),
                                   email.substr(0, 50), search.substr(0, 50)}));
}

TEST(Entry, FieldsAtTheirLengthComeBackWhole)
{
    // Lengths count Windows-1252 bytes: "Ç" is one.
    std::string name;
    for (int i = 0; i < 30; ++i)
        name += "Ç";
    const std::string address(80, 'a');
    const CallResult result =
        Call().Param(0, "11222333000181").Param(1, name).Param(2, address).Param(10, "S").Param(8, std::string(50, 'c')).Run("{Enter}{Enter}");
    ASSERT_FALSE(result.error) << *result.error;
    EXPECT_EQ(result.slots[0], "11222333000181");
    EXPECT_EQ(result.slots[1], name);
    EXPECT_EQ(result.slots[2], address);
    EXPECT_EQ(result.slots[4], std::string(50, 'c'));
}

TEST(Entry, EverySlotIsAStringEvenWhenEmpty)
{
    Variant result = Variant::Array(0, 7);
    CallEntry(TypicalParams(), 16, result, "{Escape}");
    for (int32_t slot = 0; slot < 8; ++slot) {
        EXPECT_EQ(result.Element(slot).Type(), TZC_VT_BSTR) << slot;
        EXPECT_EQ(result.Element(slot).ToString(), "") << slot;
    }
}

TEST(Entry, ResultWithRoomForMoreKeepsTheOtherElements)
{
    Variant result = Variant::Array(0, 9);
    result.SetElement(8, Variant("host 8"));
    result.SetElement(9, Variant(int32_t(9)));
    CallEntry(TypicalParams(), 16, result, kTypicalScript);
    EXPECT_EQ(result.Element(0).ToString(), "52998224725");
    EXPECT_EQ(result.Element(7).ToString(), "N");
    EXPECT_EQ(result.Element(8).ToString(), "host 8");
    EXPECT_EQ(result.Element(9).Type(), TZC_VT_I4);
    EXPECT_EQ(result.Element(9).ToInteger(), 9);
}

// The result is written only once the dialog has run; a store that fails leaves the earlier ones.
TEST(Entry, ResultThatCannotTakeTheAnswersFailsAfterTheDialog)
{
    struct Case {
        Variant result;
        const char* error;
        int stored;  // slots 0 .. stored-1 written before the failing store
    };
    Case cases[] = {{Variant("not an array"), "Variant is not an array", 0},
                    {Variant::Array(2, 9), "Variant or safe array index out of bounds", 0},
                    {Variant::Array(0, 5), "Variant or safe array index out of bounds", 6}};
    for (Case& bad : cases) {
        const TraceLines trace;
        try {
            CallEntry(TypicalParams(), 16, bad.result, kTypicalScript);
            ADD_FAILURE() << "no error for " << bad.error;
        } catch (const host::EVariantError& error) {
            EXPECT_STREQ(error.what(), bad.error);
        }
        EXPECT_NE(std::find(trace.lines.begin(), trace.lines.end(), "step: 0"), trace.lines.end()) << bad.error;
        if (bad.result.IsArray()) {
            const int32_t lower = bad.result.Raw().u.parray->rgsabound[0].lLbound;
            for (int32_t slot = lower; slot < 6; ++slot)
                EXPECT_EQ(bad.result.Element(slot).Type(), slot < bad.stored ? TZC_VT_BSTR : TZC_VT_EMPTY) << slot;
        }
    }
}

TEST(Entry, UnreadableRequiredParameterFailsBeforeTheDialog)
{
    std::vector<Variant> params = TypicalParams();
    params[5] = Variant::Null();
    Variant result = Variant::Array(0, 7);
    const TraceLines trace;
    EXPECT_THROW(CallEntry(params, 16, result, kTypicalScript), host::EVariantError);
    EXPECT_TRUE(trace.lines.empty());
    EXPECT_EQ(result.Element(0).Type(), TZC_VT_EMPTY);
    EXPECT_FALSE(Cli_Tzc04182::frmCNPJCPF->Modal());
}

TEST(Entry, CallerParametersAreNeverWritten)
{
    std::vector<Variant> params = TypicalParams();
    params[3] = Variant("S");
    Variant result = Variant::Array(0, 7);
    CallEntry(params, 16, result, "11987654321{Enter}");
    EXPECT_EQ(result.Element(3).ToString(), "11987654321");
    EXPECT_EQ(params[3].ToString(), "S");
}

// One dialog for the process; its controls stay as the last call left them.
TEST(Entry, TwoCallsShareOneDialog)
{
    const CallResult first = Call().Param(5, "TAA").Param(16, "S").Run("52998224725{Enter}");
    ASSERT_FALSE(first.error) << *first.error;
    Cli_Tzc04182::TfrmCNPJCPF* const dialog = Cli_Tzc04182::frmCNPJCPF;
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(Cli_Tzc04182::nPasso, 2);
    EXPECT_TRUE(dialog->ntbNumerico2.Visible());

    const CallResult second = Call().Param(11, "S").Run("a@bc.com{Enter}");
    ASSERT_FALSE(second.error) << *second.error;
    EXPECT_EQ(Cli_Tzc04182::frmCNPJCPF, dialog);
    EXPECT_EQ(second.slots[6], "a@bc.com");
    EXPECT_FALSE(dialog->ntbNumerico2.Visible());
    EXPECT_EQ(dialog->ntbNumerico2.Top(), 115);
    EXPECT_EQ(dialog->ntbNumerico2.Left(), 10);
    EXPECT_EQ(dialog->lblTexto.GetText(), "CPF para o OndrixCRM");
    EXPECT_EQ(dialog->lblTexto2.GetText(), "Informe o Nome");
}

int nested_calls = 0;
std::string nested_error;

TEST(Entry, CallWhileTheDialogIsOpenIsRefused)
{
    nested_calls = 0;
    nested_error.clear();
    Kvb00917::RelFiscais = [] {
        ++nested_calls;
        std::vector<Variant> params = TypicalParams();
        Variant result = Variant::Array(0, 7);
        try {
            Cli_Tzc04182::CriaInfAdicional(params.data(), 16, result);
        } catch (const std::exception& error) {
            nested_error = error.what();
        }
    };
    const CallResult result = Call().Run("529{F1}98224725{Enter}maria{Enter}rua das flores{Enter}");
    Kvb00917::RelFiscais = nullptr;
    ASSERT_FALSE(result.error) << *result.error;
    EXPECT_EQ(nested_calls, 1);
    EXPECT_EQ(nested_error, "CriaInfAdicional: the dialog is already open; one call at a time");
    EXPECT_EQ(result.slots, (Slots{"52998224725", "maria", "rua das flores", "N", "N", "N", "", "N"}));
}

TEST(Entry, CEntryReportsErrorsAsText)
{
    testing_support::UseHeadlessScreen();
    std::vector<Variant> params = TypicalParams();
    params[0] = Variant::Null();
    Variant result = Variant::Array(0, 7);
    char error[12];
    EXPECT_EQ(CriaInfAdicionalC(&params[0].Raw(), 16, &result.Raw(), error, sizeof error), TZC_ERROR);
    EXPECT_STREQ(error, "element 0 i");  // "element 0 is Null, not text", cut
    EXPECT_EQ(CriaInfAdicionalC(&params[0].Raw(), 16, &result.Raw(), nullptr, 0), TZC_ERROR);

    // Without a result there is nowhere to put the answers: refused before the dialog.
    const std::vector<Variant> typical = TypicalParams();
    char whole[200];
    EXPECT_EQ(CriaInfAdicionalC(&typical[0].Raw(), 16, nullptr, whole, sizeof whole), TZC_ERROR);
    EXPECT_STREQ(whole, "Variant is not an array");

    // A script's own words come back as they were written, not encoded twice.
    testing_support::Headless().SetScript("[Não]");
    EXPECT_EQ(CriaInfAdicionalC(&typical[0].Raw(), 16, &result.Raw(), whole, sizeof whole), TZC_ERROR);
    EXPECT_STREQ(whole, "script: no control [Não] on the screen");
}
