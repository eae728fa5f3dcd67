// The start of a call: the parameter vector loaded into the capture state, and the flow that
// activation chooses.
#include <gtest/gtest.h>

#include <climits>
#include <optional>

#include "support/call_harness.h"
#include "support/clean_module.h"
#include "entry/entry.h"
#include "host/services/services.h"

using Cli_Tzc04182::TfrmCNPJCPF;
using host::Variant;
using testing_support::Call;
using testing_support::CallResult;

namespace {

using Slots = std::array<std::string, 8>;

std::vector<Variant> Typical()
{
    std::vector<Variant> params;
    for (const char* value : {"", "", "", "N", "N", "PDV", "", "S", "N", "N", "N", "N", "", "N", "N", "S", "N"})
        params.emplace_back(std::string_view(value));
    return params;
}

// Each value distinct, so that every field shows where it came from.
std::vector<Variant> Distinct()
{
    std::vector<Variant> params;
    for (int index = 0; index < 17; ++index)
        params.emplace_back("v" + std::to_string(index));
    return params;
}

// The module's dialog, built afresh for each test, never shown.
class Initialisation : public testing::Test {
protected:
    testing_support::CleanModule module;
    TfrmCNPJCPF& dialog() { return module.dialog; }
    void Load(const std::vector<Variant>& params, int last = 16) { dialog().InicializaForm(params.data(), last); }

    // Fields 0 to 16 in element order.
    std::vector<std::string> Fields()
    {
        TfrmCNPJCPF& d = dialog();
        return {d.sCPFCNPJ,   d.sNome,           d.sEndereco,  d.sObsTexto,   d.sSomenteNome, d.sTipoTerminal,
                d.sContextoMsg, d.sPedeNomeEndereco, d.sCodPromoc, d.sIdEstrangeira, d.sCodPromocLongo, d.sPedeEmail,
                d.sEmailCupom, d.sValidaEmail,    d.sPesqCons,  d.sPedeCPF,    d.sCPFCRM};
    }
};

const std::vector<std::string> kDefaults8To16 = {"N", "N", "N", "N", "", "N", "N", "S", "N"};

TEST_F(Initialisation, LoadsEveryElementIntoItsField)
{
    Load(Distinct());
    std::vector<std::string> expected;
    for (int index = 0; index < 17; ++index)
        expected.push_back("v" + std::to_string(index));
    EXPECT_EQ(Fields(), expected);
    EXPECT_FALSE(dialog().bCodPromoc);
}

TEST_F(Initialisation, VectorOfEightTakesTheDefaults)
{
    dialog().bCodPromoc = true;
    Load(Distinct(), 7);
    const std::vector<std::string> fields = Fields();
    EXPECT_EQ(std::vector<std::string>(fields.begin() + 8, fields.end()), kDefaults8To16);
    EXPECT_EQ(fields[7], "v7");
    EXPECT_FALSE(dialog().bCodPromoc);
}

// Each optional load is guarded by itself: the one that fails takes its default, the next ones load.
TEST_F(Initialisation, EachUnreadableOptionalElementTakesItsDefault)
{
    for (int broken = 8; broken <= 16; ++broken) {
        for (Variant unreadable : {Variant::Null(), Variant::Array(0, 1)}) {
            std::vector<Variant> params = Distinct();
            params[broken] = unreadable;
            Load(params);
            const std::vector<std::string> fields = Fields();
            for (int index = 8; index <= 16; ++index) {
                const std::string expected = index == broken ? kDefaults8To16[index - 8] : "v" + std::to_string(index);
                EXPECT_EQ(fields[index], expected) << "element " << index << " with " << broken << " unreadable";
            }
        }
    }
}

TEST_F(Initialisation, PromoCodeForcesNoDocumentStep)
{
    std::vector<Variant> params = Typical();
    params[8] = Variant("S");
    params[15] = Variant("S");
    Load(params);
    EXPECT_EQ(dialog().sPedeCPF, "N");
    EXPECT_TRUE(dialog().bCodPromoc);
}

TEST_F(Initialisation, PromoFlagIsComparedAsAVariantWithExactlyS)
{
    struct Case {
        Variant element;
        const char* loaded;
        bool promo;
    };
    const Case cases[] = {{Variant("S"), "S", true},      {Variant("s"), "s", false},   {Variant("S "), "S ", false},
                          {Variant(int32_t(1)), "1", false}, {Variant::Null(), "N", false}, {Variant(), "", false}};
    for (const Case& promo : cases) {
        std::vector<Variant> params = Typical();
        params[8] = promo.element;
        Load(params);
        EXPECT_EQ(dialog().sCodPromoc, promo.loaded);
        EXPECT_EQ(dialog().bCodPromoc, promo.promo) << promo.loaded;
        EXPECT_EQ(dialog().sPedeCPF, promo.promo ? "N" : "S") << promo.loaded;
    }
}

// A required element that cannot be read stops the load there: the elements before it hold the
// new values, the others what the last call left.
TEST_F(Initialisation, UnreadableRequiredElementStopsTheLoad)
{
    for (int broken = 0; broken < 8; ++broken) {
        std::vector<Variant> previous;
        for (int index = 0; index < 17; ++index)
            previous.emplace_back("old" + std::to_string(index));
        Load(previous);
        std::vector<Variant> params = Distinct();
        params[broken] = Variant::Null();
        EXPECT_THROW(Load(params), host::EVariantError) << broken;
        const std::vector<std::string> fields = Fields();
        for (int index = 0; index < 17; ++index)
            EXPECT_EQ(fields[index], (index < broken ? "v" : "old") + std::to_string(index)) << broken;
    }
}

TEST_F(Initialisation, MissingRequiredElementIsAnError)
{
    for (int last : {-1, 0, 6}) {
        EXPECT_THROW(Load(Distinct(), last), host::EVariantError) << last;
    }
    EXPECT_THROW(dialog().InicializaForm(nullptr, 16), host::EVariantError);
}

TEST_F(Initialisation, LastIndexOfIntMaxReadsTheEighteenDefinedElementsOnly)
{
    // Exactly the defined elements, so that a read beyond them is a read beyond the vector.
    std::vector<Variant> params = Distinct();
    params.emplace_back(std::string_view("v17"));
    ASSERT_EQ(params.size(), 18u);
    EXPECT_NO_THROW(Load(params, INT_MAX));
    EXPECT_EQ(dialog().sCPFCRM, "v16");
    EXPECT_EQ(dialog().sCNPJAlfanumerico, "v17");
}

TEST_F(Initialisation, PreparesTheLabelsAndClearsTheDecline)
{
    std::vector<Variant> params = Typical();
    params[0] = Variant("52998224725");
    dialog().lblTexto2.SetText("Informe o telefone");
    dialog().bSair = true;
    Load(params);
    EXPECT_EQ(dialog().lblInforma.GetText(), "52998224725");
    EXPECT_EQ(dialog().lblTexto2.GetText(), "Informe o Nome");
    EXPECT_EQ(dialog().lblcodtela.GetText(), "TZC04182");
    EXPECT_FALSE(dialog().bSair);
}

TEST_F(Initialisation, BranchCnpjKeptWhenThereIsNoBranchFile)
{
    dialog().sCNPJFilial = "11222333000181";
    Load(Typical());
    EXPECT_EQ(dialog().sCNPJFilial, "11222333000181");
}

TEST_F(Initialisation, LeavesStepAndControlsAlone)
{
    module.AtStep(Cli_Tzc04182::PassoCodPromoc);
    dialog().ntbNumerico2.SetVisible(true);
    dialog().nTamCodPromoc = 50;
    Load(Typical());
    EXPECT_EQ(Cli_Tzc04182::nPasso, 5);
    EXPECT_TRUE(dialog().ntbNumerico2.Visible());
    EXPECT_EQ(dialog().nTamCodPromoc, 50);
}

struct Dispatch {
    std::vector<int> flags;  // elements set to "S"
    const char* prompt;      // the one prompt of the call
};

void PrintTo(const Dispatch& dispatch, std::ostream* out) { *out << dispatch.prompt; }

class Activation : public testing::TestWithParam<Dispatch> {};

TEST_P(Activation, RunsOnlyTheFirstFlowWhoseFlagIsOn)
{
    Call call = Call().Param(7, "N");  // a declined document then closes at once
    for (int flag : GetParam().flags)
        call.Param(flag, "S");
    const CallResult result = call.Run("{Escape}");
    ASSERT_FALSE(result.error) << *result.error;
    EXPECT_EQ(result.Lines("prompt"), std::vector<std::string>{GetParam().prompt});
}

INSTANTIATE_TEST_SUITE_P(
    Flags, Activation,
    testing::Values(Dispatch{{}, "Informe o CPF ou CNPJ"}, Dispatch{{3}, "Informe o telefone"},
                    Dispatch{{3, 8}, "Informe o telefone"}, Dispatch{{3, 8, 11, 14}, "Informe o telefone"},
                    Dispatch{{8, 11, 14}, "Informe o Código Promocional"},
                    Dispatch{{11, 14}, "E-mail para envio de cupom"},
                    Dispatch{{14}, "Informe as iniciais do nome, crachá, código ou CPF do consumidor"},
                    Dispatch{{4}, "Informe o Nome"}, Dispatch{{9}, "Informe o CPF ou CNPJ"}));

TEST(ActivationFlags, LowerCaseFlagsCountAsOff)
{
    const CallResult result =
        Call().Param(3, "s").Param(8, "s").Param(11, "s").Param(14, "s").Run("52998224725{Enter}{Escape}");
    ASSERT_FALSE(result.error) << *result.error;
    EXPECT_EQ(result.Lines("prompt").front(), "Informe o CPF ou CNPJ");
    EXPECT_EQ(result.slots, (Slots{"52998224725", "CONSUMIDOR FINAL", "", "", "", "", "", ""}));
}

TEST(ActivationFlags, TelephoneAndPromoFlagsStillForceNoDocument)
{
    const CallResult result = Call().Param(3, "S").Param(8, "S").Run("{Enter}");
    ASSERT_FALSE(result.error) << *result.error;
    EXPECT_EQ(result.slots[4], "S");
    EXPECT_EQ(Cli_Tzc04182::frmCNPJCPF->sPedeCPF, "N");
}

TEST(ActivationFlags, VectorOfEightRunsTheIdentificationWithTheDefaults)
{
    const CallResult result = Call().Last(7).Run("52998224725{Enter}maria{Enter}rua x{Enter}");
    ASSERT_FALSE(result.error) << *result.error;
    EXPECT_EQ(result.slots, (Slots{"52998224725", "maria", "rua x", "N", "N", "N", "", "N"}));
}

// A button left visible by an earlier call does not appear in one that does not allow it.
TEST(ActivationFlags, ForeignIdentificationButtonFollowsEachCall)
{
    const CallResult offered = Call().Param(9, "S").Param(7, "N").Run("52998224725{Enter}");
    ASSERT_FALSE(offered.error) << *offered.error;
    EXPECT_EQ(offered.slots[5], "S");
    EXPECT_TRUE(Cli_Tzc04182::frmCNPJCPF->sbtIdEstrangeira.Visible());

    const CallResult next = Call().Run("[sbtIdEstrangeira]");
    ASSERT_TRUE(next.error);
    EXPECT_EQ(*next.error, "script: [sbtIdEstrangeira] is hidden");
}

int activations_during_flow = 0;

// The toolkit may activate the dialog again while a flow waits: no second flow starts.
TEST(ActivationFlags, RunsOneFlowPerCall)
{
    activations_during_flow = 0;
    Kvb00917::RelFiscais = [] {
        ++activations_during_flow;
        Cli_Tzc04182::frmCNPJCPF->FormActivate(nullptr);
    };
    const CallResult result = Call().Run("529{F1}98224725{Enter}maria{Enter}rua x{Enter}");
    Kvb00917::RelFiscais = nullptr;
    ASSERT_FALSE(result.error) << *result.error;
    EXPECT_EQ(activations_during_flow, 1);
    EXPECT_EQ(result.Lines("step"), (std::vector<std::string>{"1", "2", "3", "0"}));
    EXPECT_EQ(result.slots, (Slots{"52998224725", "maria", "rua x", "N", "N", "N", "", "N"}));
}

}  // namespace
