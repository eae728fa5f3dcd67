// "Não informar", Escape and the 20-second step timer: what each step's decline empties.
#include <gtest/gtest.h>

#include "support/step_scripts.h"

using namespace testing_support;
using Cli_Tzc04182::nPasso;
using Cli_Tzc04182::TfrmCNPJCPF;

namespace {

using Slots = std::array<std::string, 8>;

constexpr const char* kDefaultName = "CONSUMIDOR FINAL";

// A call whose answers are all pre-filled, so that every emptied one shows.
Call Prefilled(Call call)
{
    return call.Param(1, "NOME HOST").Param(2, "RUA HOST 1").Param(10, "S").Param(12, "e@loja.com");
}

}  // namespace

TEST(Decline, EmptiesTheAnswerOfTheStepAndOfEveryLaterOne)
{
    // nPasso -> the fields left as they were, in the order of the answers.
    const std::vector<std::string> kept_at[] = {
        {"sCPFCNPJ", "sNome", "sEndereco", "sObsTexto", "sCodPromoc", "sIdEstrangeira", "sPedeEmail", "sEmailCupom",
         "sPesqCons"},
        {},
        {"sCPFCNPJ"},
        {"sCPFCNPJ", "sNome"},
        {"sCPFCNPJ", "sNome", "sEndereco"},
        {"sCPFCNPJ", "sNome", "sEndereco", "sObsTexto"},
        {},
        {},
        {},
        {"sCPFCNPJ", "sNome", "sEndereco", "sObsTexto", "sCodPromoc", "sIdEstrangeira", "sPedeEmail", "sEmailCupom",
         "sPesqCons"},
    };
    CleanModule module;
    TfrmCNPJCPF& d = module.dialog;
    const std::pair<const char*, std::string*> answers[] = {
        {"sCPFCNPJ", &d.sCPFCNPJ},       {"sNome", &d.sNome},           {"sEndereco", &d.sEndereco},
        {"sObsTexto", &d.sObsTexto},     {"sCodPromoc", &d.sCodPromoc}, {"sIdEstrangeira", &d.sIdEstrangeira},
        {"sPedeEmail", &d.sPedeEmail},   {"sEmailCupom", &d.sEmailCupom}, {"sPesqCons", &d.sPesqCons}};
    std::string* const untouched[] = {&d.sSomenteNome, &d.sTipoTerminal, &d.sContextoMsg, &d.sPedeNomeEndereco,
                                      &d.sCNPJFilial,  &d.sCodPromocLongo, &d.sValidaEmail, &d.sPedeCPF, &d.sCPFCRM};
    for (uint8_t step = 0; step <= 9; ++step) {
        for (const auto& [name, field] : answers)
            *field = name;
        for (std::string* field : untouched)
            *field = "kept";
        d.nTamCodPromoc = 50;
        d.bCodPromoc = true;
        d.bSair = false;
        d.lblInforma.SetText("shown");
        module.AtStep(static_cast<Cli_Tzc04182::Passo>(step));

        d.sbtSairClick(&d.sbtSair);

        for (const auto& [name, field] : answers) {
            const bool kept = std::find(kept_at[step].begin(), kept_at[step].end(), name) != kept_at[step].end();
            EXPECT_EQ(*field, kept ? name : "") << "step " << int(step) << ", " << name;
        }
        for (std::string* field : untouched)
            EXPECT_EQ(*field, "kept") << "step " << int(step);
        EXPECT_TRUE(d.bSair);
        EXPECT_EQ(int(nPasso), int(step));
        EXPECT_EQ(d.nTamCodPromoc, 50);
        EXPECT_TRUE(d.bCodPromoc);
        EXPECT_EQ(d.lblInforma.GetText(), "shown");
    }
}

TEST(Decline, ByButtonOrEscapeLeavesTheAnswersBeforeTheStep)
{
    struct Case {
        const char* what;
        Call call;
        std::string before;  // the keys before the decline
        Slots slots;
    };
    const std::string name_step = std::string(kValidCpf) + "{Enter}";
    const Case cases[] = {
        {"document", Prefilled(Call()), "123", {"", "", "", "", "", "", "", ""}},
        {"name", Prefilled(Call()), name_step + "ana", {kValidCpf, kDefaultName, "", "", "", "", "", ""}},
        {"address", Prefilled(Call()), name_step + "ana{Enter}rua",
         {kValidCpf, "NOME HOSTana", "", "", "", "", "", ""}},
        {"telephone", Prefilled(Call().Param(0, kValidCpf).Param(3, "S")), "1199",
         {kValidCpf, "NOME HOST", "RUA HOST 1", "", "", "", "", ""}},
        {"promotional code", Prefilled(Call().Param(0, kValidCpf).Param(3, "T").Param(8, "S")), "AB1",
         {kValidCpf, "NOME HOST", "RUA HOST 1", "T", "", "", "", ""}},
        // The digits typed at the document step go too.
        {"foreign identification", Prefilled(Call().Param(9, "S")), "123[sbtIdEstrangeira]X1",
         {"", "", "", "", "", "", "", ""}},
        {"e-mail", Prefilled(Call().Param(0, kValidCpf).Param(11, "S")), "x", {"", "", "", "", "", "", "", ""}},
        {"consumer search", Prefilled(Call().Param(0, kValidCpf).Param(14, "S")), "ANA",
         {"", "", "", "", "", "", "", ""}},
    };
    for (const Case& c : cases) {
        for (const char* decline : {"[sbtSair]", "{Escape}"}) {
            const auto result = c.call.Run(c.before + decline);
            ASSERT_FALSE(result.error) << c.what << ": " << *result.error;
            EXPECT_EQ(result.slots, c.slots) << c.what << " " << decline;
            EXPECT_TRUE(result.Lines("message").empty()) << c.what;
        }
    }
}

TEST(StepTimer, DeclinesAStepStillOpenTwentySecondsAfterItStarted)
{
    struct Case {
        const char* what;
        std::string script;
        Slots slots;
    };
    const std::string cpf = kValidCpf;
    const Case cases[] = {
        {"document at 20 s", "{wait 20s}", {"", "", "", "", "", "", "", ""}},
        {"keys do not restart it", "5299{wait 10s}8224{wait 9.9s}72{wait 0.1s}5{Enter}",
         {"", "", "", "", "", "", "", ""}},
        {"each step gets a fresh 20 s",
         "{wait 19.9s}" + cpf + "{Enter}{wait 19.9s}maria{Enter}{wait 19.9s}rua das flores{Enter}",
         {cpf, "maria", "rua das flores", "N", "N", "N", "", "N"}},
        {"name at 20 s", cpf + "{wait 19s}{Enter}{wait 20s}", {cpf, kDefaultName, "", "", "", "", "", ""}},
        {"address at 20 s", cpf + "{Enter}maria{Enter}{wait 5s}rua{wait 15s}", {cpf, "maria", "", "", "", "", "", ""}},
        {"a rejection starts the count again",
         "{wait 19s}1{Enter}{wait 30s}[ok]{wait 19.9s}{Delete}" + cpf + "{Enter}{Enter}rua das flores{Enter}",
         {cpf, kDefaultName, "rua das flores", "N", "N", "N", "", "N"}},
    };
    for (const Case& c : cases) {
        const auto result = Call().Param(5, "APC").Run(c.script);
        ASSERT_FALSE(result.error) << c.what << ": " << *result.error;
        EXPECT_EQ(result.slots, c.slots) << c.what;
    }
}

TEST(StepTimer, DoesNotTickBeforeTwentySeconds)
{
    const auto result = Call().Param(5, "APC").Run("{wait 19.9s}");
    EXPECT_EQ(result.error, "input ended at step 1");
}

TEST(StepTimer, RunsOnIntoTheForeignIdentificationOpenedFromTheDocumentStep)
{
    const auto result = Prefilled(Call().Param(5, "APC").Param(9, "S")).Run("{wait 5s}[sbtIdEstrangeira]AB{wait 15s}");
    ASSERT_FALSE(result.error) << *result.error;
    EXPECT_EQ(result.slots, (Slots{"", "", "", "", "", "", "", ""}));
}

TEST(StepTimer, NeverEndsAStepOnAnotherTerminal)
{
    for (const char* terminal : {"PDV", "apc", "APC ", "TAA"}) {
        const auto result = Call().Param(5, terminal).Run(
            "{wait 600s}" + std::string(kValidCpf) + "{Enter}{wait 600s}maria{Enter}{wait 600s}rua das flores{Enter}");
        ASSERT_FALSE(result.error) << terminal << ": " << *result.error;
        EXPECT_EQ(result.slots[0], kValidCpf) << terminal;
        EXPECT_EQ(result.slots[1], std::string(terminal) == "TAA" ? kDefaultName : "maria") << terminal;
    }
}

TEST(StepTimer, TickDeclinesAndLeavesTheTimerRunning)
{
    CleanModule module;
    TfrmCNPJCPF& dialog = module.dialog;
    dialog.tmrCancAutoPag.SetEnabled(true);
    module.AtStep(Cli_Tzc04182::PassoNome);
    dialog.sNome = "ana";
    dialog.tmrCancAutoPagTimer(&dialog);  // the timer reports its owner
    EXPECT_TRUE(dialog.bSair);
    EXPECT_EQ(dialog.sNome, "");
    EXPECT_TRUE(dialog.tmrCancAutoPag.Enabled());
    dialog.tmrCancAutoPag.SetEnabled(false);
}
