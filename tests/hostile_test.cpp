// Every way into the module tried with bad input. Each door ends in the behaviour the call
// promises or in a clear exception from the call, with the host's data untouched.
#include <gtest/gtest.h>

#include <dlfcn.h>
#include <sys/wait.h>

#include <array>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <limits>
#include <optional>
#include <string>
#include <vector>

#include "support/call_harness.h"
#include "entry/entry.h"
#include "host/forms/application.h"
#include "host/screens/headless_screen.h"
#include "host/text/strings.h"
#include "support/random_customer.h"

namespace {

using Cli_Tzc04182::frmCNPJCPF;
using Cli_Tzc04182::nPasso;
using host::Variant;
using testing_support::ActionSourceScope;
using testing_support::Call;
using testing_support::CallResult;
using testing_support::CallWith;
using testing_support::Invariants;
using testing_support::Parameters;

const Parameters kTypical = {"", "", "", "N", "N", "PDV", "", "S", "N", "N", "N", "N", "", "N", "N", "S", "N"};

Parameters With(std::initializer_list<std::pair<int, const char*>> changes)
{
    Parameters params = kTypical;
    for (const auto& [index, value] : changes)
        params[static_cast<std::size_t>(index)] = value;
    return params;
}

tzc_variant Raw(uint16_t vt)
{
    tzc_variant raw{};
    raw.vt = vt;
    return raw;
}

// A Variant of each type a host can pass, and some it should not.
std::vector<std::pair<std::string, Variant>> EveryType()
{
    std::vector<std::pair<std::string, Variant>> values;
    auto add = [&](std::string name, tzc_variant raw) { values.emplace_back(std::move(name), Variant::CopyOf(raw)); };
    tzc_variant value = Raw(TZC_VT_I2);
    value.u.iVal = -32768;
    add("Smallint", value);
    value = Raw(TZC_VT_I4);
    value.u.lVal = INT32_MIN;
    add("Integer", value);
    value = Raw(TZC_VT_I8);
    value.u.llVal = INT64_MAX;
    add("Int64", value);
    for (const double number : {0.1, -1e308, std::numeric_limits<double>::infinity(), std::numeric_limits<double>::quiet_NaN()}) {
        value = Raw(TZC_VT_R8);
        value.u.dblVal = number;
        add("Double " + std::to_string(number), value);
    }
    value = Raw(TZC_VT_BOOL);
    value.u.boolVal = -1;
    add("Boolean", value);
    add("Empty", Raw(TZC_VT_EMPTY));
    add("Null", Raw(TZC_VT_NULL));
    add("string without characters", Raw(TZC_VT_BSTR));  // a null BSTR is an empty string
    for (const uint16_t odd : {uint16_t(9), uint16_t(13), uint16_t(0x2008), uint16_t(0x4008), uint16_t(0xFFFF)})
        add("type " + std::to_string(odd), Raw(odd));
    values.emplace_back("array", Variant::Array(0, 3));
    values.emplace_back("empty array", Variant::Array(5, 4));
    values.emplace_back("string", Variant(std::string_view("S")));
    return values;
}

bool SameVariant(const tzc_variant& a, const tzc_variant& b)
{
    if (a.vt != b.vt)
        return false;
    if (a.vt == TZC_VT_BSTR)
        return host::BstrToCp1252(a.u.bstrVal) == host::BstrToCp1252(b.u.bstrVal);
    if (a.vt == TZC_VT_ARRAY_OF_VARIANT && a.u.parray != nullptr && b.u.parray != nullptr) {
        const tzc_safearray &x = *a.u.parray, &y = *b.u.parray;
        if (x.rgsabound[0].cElements != y.rgsabound[0].cElements || x.rgsabound[0].lLbound != y.rgsabound[0].lLbound)
            return false;
        for (uint32_t i = 0; i < x.rgsabound[0].cElements; ++i)
            if (!SameVariant(static_cast<const tzc_variant*>(x.pvData)[i], static_cast<const tzc_variant*>(y.pvData)[i]))
                return false;
        return true;
    }
    return std::memcmp(&a.u, &b.u, sizeof a.u) == 0;
}

// Calls the entry as a host does. The customer declines at once, whatever the flow, and
// dismisses any message; the outcome says whether the dialog asked them anything.
struct Outcome {
    std::optional<std::string> error;
    bool shown = false;
};

Outcome CallWithVectors(const std::vector<Variant>& params, int last, Variant& result)
{
    Outcome outcome;
    int declines = 0;
    const ActionSourceScope scope([&]() -> std::optional<host::ScriptAction> {
        host::TForm* top = host::Application().ActiveForm();
        if (top == nullptr || ++declines > 20)
            return std::nullopt;
        outcome.shown = true;
        host::ScriptAction action;
        action.kind = host::ScriptAction::Kind::Key;
        action.key = top == frmCNPJCPF ? host::VK_ESCAPE : host::VK_RETURN;
        return action;
    });
    try {
        testing_support::CallEntry(params, last, result, "");
    } catch (const std::exception& error) {
        outcome.error = error.what();
    }
    return outcome;
}

std::vector<Variant> Vector(const Parameters& params)
{
    std::vector<Variant> vector;
    for (const std::string& value : params)
        vector.emplace_back(std::string_view(value));
    return vector;
}

// ---- The parameter vector ----

TEST(HostileParameters, FewerThanEightElementsAreAnErrorBeforeTheDialog)
{
    for (const int last : {INT_MIN, -100, -1, 0, 3, 6}) {
        const CallResult result = CallWith(kTypical).Last(last).Run("{Escape}");
        const int missing = std::max(last + 1, 0);
        ASSERT_TRUE(result.error) << "last " << last;
        EXPECT_EQ(*result.error, "parameter " + std::to_string(missing) + " is missing") << "last " << last;
        EXPECT_TRUE(result.Lines("step").empty()) << "the dialog was shown with last " << last;
    }
}

TEST(HostileParameters, OnlyTheEighteenDefinedElementsAreReadWhateverTheLastIndex)
{
    for (const int last : {16, 17, 1000, INT_MAX}) {
        const CallResult result = CallWith(kTypical).Last(last).Run("52998224725{Enter}ana{Enter}rua um{Enter}");
        ASSERT_FALSE(result.error) << "last " << last << ": " << *result.error;
        EXPECT_EQ(result.slots[1], "ana") << "last " << last;
    }
}

TEST(HostileParameters, ANullPointerCountsAsNoElements)
{
    Variant result = Variant::Array(0, 7);
    const Outcome outcome = CallWithVectors({}, 16, result);
    ASSERT_TRUE(outcome.error);
    EXPECT_EQ(*outcome.error, "parameter 0 is missing");
    EXPECT_FALSE(outcome.shown);

    char error[128] = "unchanged";
    EXPECT_EQ(CriaInfAdicionalC(nullptr, 16, &result.Raw(), error, sizeof error), TZC_ERROR);
    EXPECT_STREQ(error, "parameter 0 is missing");
}

TEST(HostileParameters, RequiredElementsThatDoNotConvertAreAnErrorAndTheResultIsUntouched)
{
    for (int index = 0; index < 8; ++index) {
        for (auto& [name, value] : EveryType()) {
            std::vector<Variant> params = Vector(kTypical);
            params[static_cast<std::size_t>(index)] = value;
            Variant result = Variant::Array(0, 7);
            result.SetElement(3, Variant(std::string_view("host's")));
            bool converts = true;
            try {
                value.ToString();
            } catch (const host::EVariantError&) {
                converts = false;
            }
            const Outcome outcome = CallWithVectors(params, 16, result);
            if (converts) {
                EXPECT_FALSE(outcome.error) << "element " << index << " " << name << ": " << *outcome.error;
                continue;
            }
            ASSERT_TRUE(outcome.error) << "element " << index << " " << name;
            EXPECT_TRUE(outcome.error->starts_with("element " + std::to_string(index) + " is ") &&
                        outcome.error->ends_with(", not text"))
                << *outcome.error;
            EXPECT_FALSE(outcome.shown) << "element " << index << " " << name;
            EXPECT_EQ(result.Element(3).ToString(), "host's");
            EXPECT_EQ(result.Element(0).Type(), TZC_VT_EMPTY);
        }
    }
}

TEST(HostileParameters, OptionalElementsOfEveryTypeNeverFailTheCall)
{
    for (int index = 8; index < 17; ++index) {
        for (auto& [name, value] : EveryType()) {
            std::vector<Variant> params = Vector(kTypical);
            params[static_cast<std::size_t>(index)] = value;
            Variant result = Variant::Array(0, 7);
            const Outcome outcome = CallWithVectors(params, 16, result);
            ASSERT_FALSE(outcome.error) << "element " << index << " " << name << ": " << *outcome.error;
            for (int32_t slot = 0; slot < 8; ++slot)
                EXPECT_EQ(result.Element(slot).Type(), TZC_VT_BSTR) << "element " << index << " " << name;
        }
    }
}

TEST(HostileParameters, StringsOfNoBytesEveryByteAndAHundredThousandBytes)
{
    std::string every_byte;  // 1 to 255
    for (int byte = 1; byte < 256; ++byte)
        every_byte += static_cast<char>(byte);
    const std::string with_zero = std::string(1, '\0') + every_byte;
    const std::string huge(100'000, 'S');
    const std::size_t lengths[8] = {29, 30, 80, 80, 10, 20, 50, 50};
    for (const std::string* text : std::initializer_list<const std::string*>{&every_byte, &with_zero, &huge}) {
        for (int index = 0; index < 17; ++index) {
            Parameters params = kTypical;
            params[static_cast<std::size_t>(index)] = *text;
            const CallResult result = CallWith(params).Run("{Escape}");
            ASSERT_FALSE(result.error) << "element " << index << ": " << *result.error;
            for (std::size_t slot = 0; slot < 8; ++slot)
                EXPECT_LE(host::Utf8ToCp1252(result.slots[slot]).size(), lengths[slot]) << "element " << index;
        }
        // A name that the customer confirms comes back as its first 30 bytes, each as it was.
        const CallResult named =
            CallWith(With({{4, "S"}})).Param(1, Variant(std::string_view(*text))).Run("{Enter}");
        ASSERT_FALSE(named.error) << *named.error;
        EXPECT_EQ(host::Utf8ToCp1252(named.slots[1]), text->substr(0, 30));
    }
}

TEST(HostileParameters, TheCallersElementsAreNeverWritten)
{
    const std::vector<std::pair<std::string, Variant>> types = EveryType();
    for (std::size_t offset = 0; offset < types.size(); offset += 5) {
        std::vector<Variant> params = Vector(With({{0, "52998224725"}}));
        for (std::size_t i = 8; i < 17; ++i)
            params[i] = types[(offset + i) % types.size()].second;
        if (offset % 2 == 1)
            params[4] = Variant::Array(0, 1);  // and a call that fails on a required element
        const std::vector<Variant> before = params;
        Variant result = Variant::Array(0, 7);
        CallWithVectors(params, 16, result);
        for (std::size_t i = 0; i < params.size(); ++i)
            EXPECT_TRUE(SameVariant(params[i].Raw(), before[i].Raw())) << "element " << i;
    }
}

TEST(HostileParameters, AnArrayWhoseBoundsPassTheIntegerRangeIsCopiedSafely)
{
    // An array whose last index would lie beyond the 32-bit range, as an optional element.
    Variant array = Variant::Array(0, 1);
    array.Raw().u.parray->rgsabound[0].lLbound = INT32_MAX;
    std::vector<Variant> params = Vector(kTypical);
    params[9] = array;
    Variant result = Variant::Array(0, 7);
    const Outcome outcome = CallWithVectors(params, 16, result);
    EXPECT_FALSE(outcome.error) << *outcome.error;
    array.Raw().u.parray->rgsabound[0].lLbound = 0;
}

TEST(HostileParameters, DeeplyNestedArraysDoNotExhaustTheStack)
{
    Variant nested = Variant::Array(0, 0);
    for (int depth = 0; depth < 100'000; ++depth) {
        Variant outer = Variant::Array(0, 0);
        outer.SetElement(0, std::move(nested));
        nested = std::move(outer);
    }
    std::vector<Variant> params = Vector(kTypical);
    params[9] = nested;
    Variant result = Variant::Array(0, 7);
    result.SetElement(2, nested);
    const Outcome outcome = CallWithVectors(params, 16, result);
    EXPECT_FALSE(outcome.error) << *outcome.error;
    EXPECT_EQ(result.Element(2).ToString(), "");
}

// ---- The result vector ----

struct ResultCase {
    const char* name;
    std::function<Variant()> make;
};

TEST(HostileResult, AVectorThatCannotTakeTheAnswersIsAClearErrorAndKeepsWhatLiesOutsideTheSlots)
{
    auto array = [](int32_t lower, int32_t upper) {
        return [=] {
            Variant made = Variant::Array(lower, upper);
            for (int64_t i = lower; i <= upper && i - lower < 20; ++i)
                made.SetElement(static_cast<int32_t>(i), Variant(static_cast<int32_t>(i)));
            return made;
        };
    };
    const ResultCase cases[] = {
        {"Empty", [] { return Variant(); }},
        {"Null", [] { return Variant::Null(); }},
        {"a string", [] { return Variant(std::string_view("result")); }},
        {"an integer", [] { return Variant(int32_t(7)); }},
        {"bounds 1 to 8", array(1, 8)},
        {"bounds 0 to 6", array(0, 6)},
        {"bounds -5 to -1", array(-5, -1)},
        {"no elements", array(0, -1)},
        {"bounds at the top of the range", array(INT32_MAX - 3, INT32_MAX)},
        {"two dimensions", [] {
             Variant made = Variant::Array(0, 7);
             made.Raw().u.parray->cDims = 2;
             return made;
         }},
        {"elements of another size", [] {
             Variant made = Variant::Array(0, 7);
             made.Raw().u.parray->cbElements = 16;
             return made;
         }},
    };
    for (const ResultCase& c : cases) {
        Variant result = c.make();
        const Variant before = c.make();
        const Outcome outcome = CallWithVectors(Vector(kTypical), 16, result);
        ASSERT_TRUE(outcome.error) << c.name;
        EXPECT_TRUE(*outcome.error == "Variant is not an array" ||
                    *outcome.error == "Variant or safe array index out of bounds")
            << c.name << ": " << *outcome.error;
        // The stores come after the dialog, in slot order, up to the first that fails.
        if (!result.IsArray()) {
            EXPECT_TRUE(SameVariant(result.Raw(), before.Raw())) << c.name;
            continue;
        }
        const tzc_safearray& array = *result.Raw().u.parray;
        const tzc_safearray& was = *before.Raw().u.parray;
        ASSERT_EQ(std::memcmp(&array.rgsabound, &was.rgsabound, sizeof array.rgsabound), 0) << c.name;
        ASSERT_EQ(array.cDims, was.cDims);
        if (array.cDims != 1 || array.cbElements != sizeof(tzc_variant))
            continue;
        const int64_t lower = array.rgsabound[0].lLbound, upper = lower + array.rgsabound[0].cElements - 1;
        int64_t stored = 0;  // the slots before the first outside the bounds
        while (stored < 8 && stored >= lower && stored <= upper)
            ++stored;
        for (uint32_t i = 0; i < array.rgsabound[0].cElements; ++i) {
            const int64_t index = lower + i;
            const tzc_variant& now = static_cast<const tzc_variant*>(array.pvData)[i];
            const tzc_variant& then = static_cast<const tzc_variant*>(was.pvData)[i];
            if (index >= 0 && index < stored)
                EXPECT_EQ(now.vt, TZC_VT_BSTR) << c.name << ": slot " << index;
            else
                EXPECT_TRUE(SameVariant(now, then)) << c.name << ": element " << index;
        }
    }
    char error[128];
    EXPECT_EQ(CriaInfAdicionalC(nullptr, 16, nullptr, error, sizeof error), TZC_ERROR);
    EXPECT_STREQ(error, "Variant is not an array");
}

TEST(HostileResult, ElementsBeyondSevenAreKeptAndElementsOfOtherTypesAreReplaced)
{
    Variant result = Variant::Array(0, 9);
    std::vector<std::pair<std::string, Variant>> types = EveryType();
    for (int32_t i = 0; i < 8; ++i)
        result.SetElement(i, types[static_cast<std::size_t>(i) * 2 % types.size()].second);
    result.SetElement(2, Variant::Array(0, 2));
    result.SetElement(8, Variant(std::string_view("host 8")));
    result.SetElement(9, Variant(int32_t(9)));
    testing_support::CallEntry(Vector(kTypical), 16, result, "52998224725{Enter}ana{Enter}rua um{Enter}");
    const char* answers[8] = {"52998224725", "ana", "rua um", "N", "N", "N", "", "N"};
    for (int32_t i = 0; i < 8; ++i) {
        EXPECT_EQ(result.Element(i).Type(), TZC_VT_BSTR) << "slot " << i;
        EXPECT_EQ(result.Element(i).ToString(), answers[i]) << "slot " << i;
    }
    EXPECT_EQ(result.Element(8).ToString(), "host 8");
    EXPECT_EQ(result.Element(9).Type(), TZC_VT_I4);
}

// ---- Events at every step ----

struct Step {
    uint8_t step;
    Parameters params;
    std::string script;  // brings the dialog to the step
    std::string takes;   // the characters the step accepts, by code
};

std::string Characters(std::initializer_list<std::pair<int, int>> ranges)
{
    std::string text;
    for (const auto& [first, last] : ranges)
        for (int c = first; c <= last; ++c)
            text += static_cast<char>(c);
    return text;
}

const std::string kDigits = Characters({{'0', '9'}});
const std::string kTextSet = Characters({{' ', ' '}, {',', ','}, {'.', '9'}, {'A', 'Z'}, {'a', 'z'}, {199, 199}, {231, 231}});

std::vector<Step> EveryStep()
{
    return {
        {1, kTypical, "", kDigits},
        {2, kTypical, "52998224725{Enter}", Characters({{' ', ' '}, {'A', 'Z'}, {'a', 'z'}, {199, 199}, {231, 231}})},
        {3, kTypical, "52998224725{Enter}{Enter}", kTextSet},
        {4, With({{3, "S"}}), "", kDigits},
        {5, With({{8, "S"}}), "", kTextSet},
        {6, With({{9, "S"}}), "[sbtIdEstrangeira]", kTextSet},
        {7, With({{11, "S"}}), "",
         Characters({{' ', ' '}, {',', '9'}, {'@', 'Z'}, {'_', '_'}, {'a', 'z'}, {199, 199}, {231, 231}})},
        {8, With({{14, "S"}}), "", kTextSet},
    };
}

// What the customer and the flows can change.
struct Snapshot {
    std::array<std::string, 9> fields;
    int step = 0;
    std::string display;
    bool declined = false;
    const host::TLabel* prompt = nullptr;
    bool digits = false, letters = false;
    bool operator==(const Snapshot&) const = default;
};

Snapshot Take()
{
    const Cli_Tzc04182::TfrmCNPJCPF& d = *frmCNPJCPF;
    return {{d.sCPFCNPJ, d.sNome, d.sEndereco, d.sObsTexto, d.sCodPromoc, d.sIdEstrangeira, d.sEmailCupom, d.sPesqCons,
             d.sPedeEmail},
            nPasso,
            d.lblInforma.GetText(),
            d.bSair,
            d.VisiblePrompt(),
            d.ntbNumerico2.Visible(),
            d.ntbAlfanumerico.Visible()};
}

host::ScriptAction Escape()
{
    host::ScriptAction action;
    action.kind = host::ScriptAction::Kind::Key;
    action.key = host::VK_ESCAPE;
    return action;
}

// Plays the step's call; once it waits at its step, runs probe there and then declines.
CallResult AtStep(const Step& step, const std::function<void()>& probe)
{
    bool probed = false;
    const ActionSourceScope scope([&]() -> std::optional<host::ScriptAction> {
        if (probed)
            return std::nullopt;
        probed = true;
        EXPECT_EQ(nPasso, step.step);
        EXPECT_EQ(host::Application().ActiveForm(), frmCNPJCPF);
        probe();
        return Escape();
    });
    CallResult result = CallWith(step.params).Run(step.script);
    EXPECT_TRUE(probed) << "step " << int(step.step) << " was not reached";
    return result;
}

int relfiscais_calls = 0;

TEST(HostileEvents, KeyDownOfEveryCodeAtEveryStepOnlyDoesWhatItsKeyDoes)
{
    relfiscais_calls = 0;
    Kvb00917::RelFiscais = [] { ++relfiscais_calls; };
    for (const Step& step : EveryStep()) {
        const CallResult result = AtStep(step, [&] {
            const host::HWND window = frmCNPJCPF->GetHandle();
            const Snapshot before = Take();
            for (uint32_t code = 0; code <= 0xFFFF; ++code) {
                if (code == host::VK_RETURN || code == host::VK_ESCAPE)
                    continue;  // they end the step: tried by the flows' own tests
                host::SendMessageA(window, host::WM_KEYDOWN, code, 0);
                if (!(Take() == before)) {
                    ADD_FAILURE() << "step " << int(step.step) << ": key-down " << code << " changed the dialog";
                    return;
                }
            }
        });
        EXPECT_FALSE(result.error) << *result.error;
    }
    Kvb00917::RelFiscais = nullptr;
    EXPECT_EQ(relfiscais_calls, 8) << "F1 calls the fiscal reports once at each step";
}

TEST(HostileEvents, CharactersOfEveryCodeAtEveryStepAreTakenOnlyWhenTheStepAcceptsThem)
{
    // Where a step takes letters, an accented one is taken as its plain letter (in code order).
    const std::string accented = host::Utf8ToCp1252("ŠŽšžŸÀÁÂÃÄÅÈÉÊËÌÍÎÏÑÒÓÔÕÖÙÚÛÜÝàáâãäåèéêëìíîïñòóôõöùúûüýÿ");
    const std::string plain = "SZszYAAAAAAEEEEIIIINOOOOOUUUUYaaaaaaeeeeiiiinooooouuuuyy";
    for (const Step& step : EveryStep()) {
        std::string taken, folded, folded_as;
        const CallResult result = AtStep(step, [&] {
            const host::HWND window = frmCNPJCPF->GetHandle();
            const Invariants invariants(step.params);
            const Snapshot before = Take();
            for (uint32_t code = 0; code <= 0xFFFF; ++code) {
                host::SendMessageA(window, host::WM_CHAR, code, 0);
                const Snapshot after = Take();
                if (after == before)
                    continue;
                const std::string& field = after.fields[step.step - 1u];
                const std::string& was = before.fields[step.step - 1u];
                if (code > 0xFF || field.size() != was.size() + 1 || field.compare(0, was.size(), was) != 0) {
                    ADD_FAILURE() << "step " << int(step.step) << ": character " << code << " left the field as "
                                  << host::Cp1252ToUtf8(field);
                    return;
                }
                if (const std::string broken = invariants.Check(); !broken.empty()) {
                    ADD_FAILURE() << "character " << code << ": " << broken;
                    return;
                }
                if (field.back() == static_cast<char>(code)) {
                    taken += static_cast<char>(code);
                } else {
                    folded += static_cast<char>(code);
                    folded_as += field.back();
                }
                host::SendMessageA(window, host::WM_KEYDOWN, host::VK_BACK, 0);
                if (!(Take() == before)) {
                    ADD_FAILURE() << "step " << int(step.step) << ": Backspace did not take back " << code;
                    return;
                }
            }
        });
        EXPECT_FALSE(result.error) << *result.error;
        EXPECT_EQ(host::Cp1252ToUtf8(taken), host::Cp1252ToUtf8(step.takes)) << "step " << int(step.step);
        const bool takes_letters = step.takes.find('A') != std::string::npos;
        EXPECT_EQ(host::Cp1252ToUtf8(folded), takes_letters ? host::Cp1252ToUtf8(accented) : "")
            << "step " << int(step.step);
        EXPECT_EQ(folded_as, takes_letters ? plain : "") << "step " << int(step.step);
    }
}

void EveryControl(host::TControl& control, std::vector<host::TControl*>& found)
{
    found.push_back(&control);
    for (const auto& child : control.Children())
        EveryControl(*child, found);
}

TEST(HostileEvents, TouchesOfEveryControlAtEveryStepIncludingHiddenKeypads)
{
    for (const Step& step : EveryStep()) {
        int hidden = 0;
        const CallResult result = AtStep(step, [&] {
            const host::HWND window = frmCNPJCPF->GetHandle();
            std::vector<host::TControl*> controls;
            EveryControl(*frmCNPJCPF, controls);
            const Snapshot before = Take();
            for (host::TControl* control : controls) {
                const std::string& name = control->Name();
                if (name == "sbtSair" || name == "sbtEnter" || name == "sbtIdEstrangeira")
                    continue;  // they end or open a step
                host::SendMessageA(window, host::WM_TOUCH_CLICK, 0, reinterpret_cast<host::LPARAM>(control));
                const Snapshot after = Take();
                if (!control->Showing()) {
                    ++hidden;
                    EXPECT_TRUE(after == before) << "step " << int(step.step) << ": hidden " << name << " acted";
                } else if (!(after == before)) {
                    const char typed = host::UpperCase(std::string(1, static_cast<char>(control->Tag & 0xFF)))[0];
                    EXPECT_EQ(after.fields[step.step - 1u], before.fields[step.step - 1u] + typed)
                        << "step " << int(step.step) << ": " << name;
                    host::SendMessageA(window, host::WM_KEYDOWN, host::VK_BACK, 0);
                    EXPECT_TRUE(Take() == before) << "step " << int(step.step) << ": after " << name;
                }
            }
        });
        EXPECT_FALSE(result.error) << *result.error;
        EXPECT_GE(hidden, 10) << "step " << int(step.step) << ": a keypad is hidden at every step";
    }
    const CallResult scripted = Call().Run("[sbtA]");
    ASSERT_TRUE(scripted.error);
    EXPECT_EQ(*scripted.error, "script: [sbtA] is hidden");
}

// ---- A second call while the dialog is open ----

TEST(HostileCalls, ASecondCallWhileTheDialogIsOpenIsAClearErrorAndChangesNothing)
{
    std::string message, c_message;
    int c_status = TZC_OK;
    Variant inner = Variant::Array(0, 7);
    inner.SetElement(0, Variant(std::string_view("host's")));
    const Variant inner_before = inner;
    const Step document = EveryStep()[0];
    const CallResult result = AtStep(document, [&] {
        host::SendMessageA(frmCNPJCPF->GetHandle(), host::WM_CHAR, '5', 0);
        const Snapshot before = Take();
        const std::vector<Variant> params = Vector(With({{0, "11144477735"}, {11, "S"}}));
        try {
            Cli_Tzc04182::CriaInfAdicional(params.data(), 16, inner);
        } catch (const std::logic_error& error) {
            message = error.what();
        }
        char error[200] = "";
        c_status = CriaInfAdicionalC(&params[0].Raw(), 16, &inner.Raw(), error, sizeof error);
        c_message = error;
        EXPECT_TRUE(Take() == before) << "the second call changed the open dialog";
    });
    EXPECT_EQ(message, "CriaInfAdicional: the dialog is already open; one call at a time");
    EXPECT_EQ(c_status, TZC_ERROR);
    EXPECT_EQ(c_message, message);
    EXPECT_TRUE(SameVariant(inner.Raw(), inner_before.Raw()));
    ASSERT_FALSE(result.error) << *result.error;
    EXPECT_EQ(result.slots[0], "") << "the first call goes on and ends as declined";
    EXPECT_FALSE(CallWith(kTypical).Run("52998224725{Enter}{Enter}{Enter}").error) << "and the next call works";
}

// ---- Input that arrives while the dialog is closing ----

TEST(HostileCalls, InputQueuedBehindTheCloseChangesNoAnswer)
{
    const CallResult taa = CallWith(With({{5, "TAA"}})).Run("52998224725{Enter}abc");
    ASSERT_FALSE(taa.error) << *taa.error;
    EXPECT_EQ(taa.slots[1], "CONSUMIDOR FINAL");

    // The foreign identification's own close does not end the flow around it.
    const CallResult foreign =
        CallWith(With({{9, "S"}})).Run("[sbtIdEstrangeira]X123{Enter}maria{Enter}rua um{Enter}");
    ASSERT_FALSE(foreign.error) << *foreign.error;
    EXPECT_EQ(foreign.slots[1], "maria");
    EXPECT_EQ(foreign.slots[2], "rua um");
    EXPECT_EQ(foreign.slots[5], "X123");
}

TEST(HostileCalls, TheBranchCnpjConfirmedTogetherWithADeclineIsRefusedOnceNotForEver)
{
    // A fast customer: Enter on the foreign identification and "Não informar" in one dispatch,
    // after typing the branch's own CNPJ.
    if (frmCNPJCPF == nullptr)
        Call().Run("{Escape}");
    frmCNPJCPF->sCNPJFilial = "11444777000161";
    int messages = 0;
    bool pressed = false;
    CallResult result;
    {
        const ActionSourceScope scope([&]() -> std::optional<host::ScriptAction> {
            host::ScriptAction action;
            action.kind = host::ScriptAction::Kind::Key;
            action.key = host::VK_RETURN;
            if (host::Application().ActiveForm() != frmCNPJCPF)
                return ++messages < 10 ? std::optional(action) : std::nullopt;
            if (pressed)
                return std::nullopt;
            pressed = true;
            host::PostMessageA(frmCNPJCPF->GetHandle(), host::WM_KEYDOWN, host::VK_RETURN, 0);
            host::PostMessageA(frmCNPJCPF->GetHandle(), host::WM_KEYDOWN, host::VK_ESCAPE, 0);
            action.kind = host::ScriptAction::Kind::End;
            return action;
        });
        result = CallWith(With({{9, "S"}})).Run("11444777000161[sbtIdEstrangeira]X1");
    }
    frmCNPJCPF->sCNPJFilial.clear();
    ASSERT_FALSE(result.error) << *result.error;
    EXPECT_EQ(messages, 1);
    EXPECT_EQ(result.slots[0], "") << "the branch's CNPJ is no customer's document";
}

// ---- Loading and unloading the module ----

struct Module {
    void* handle;
    template <typename Function>
    Function* Get(const char* name) const
    {
        return reinterpret_cast<Function*>(dlsym(handle, name));
    }
};

TEST(HostileModule, LoadsCallsAndUnloadsManyTimesInOneProcess)
{
    const char* previous_screen = std::getenv("TZC_SCREEN");
    const std::string kept_screen = previous_screen != nullptr ? previous_screen : "";
    setenv("TZC_SCREEN", "headless", 1);
    int unloaded = 0;
    for (int round = 0; round < 20; ++round) {
        const std::string name = "ana" + std::string(1, static_cast<char>('a' + round));
        setenv("TZC_INPUT", ("52998224725{Enter}" + name + "{Enter}rua um{Enter}").c_str(), 1);
        const Module module{dlopen(TZC_MODULE, RTLD_NOW | RTLD_LOCAL)};
        ASSERT_NE(module.handle, nullptr) << dlerror();
        auto* call = module.Get<decltype(CriaInfAdicionalC)>("CriaInfAdicionalC");
        auto* make_string = module.Get<decltype(tzc_variant_string)>("tzc_variant_string");
        auto* make_array = module.Get<decltype(tzc_variant_array)>("tzc_variant_array");
        auto* element = module.Get<decltype(tzc_array_element)>("tzc_array_element");
        auto* to_utf8 = module.Get<decltype(tzc_variant_to_utf8)>("tzc_variant_to_utf8");
        auto* clear = module.Get<decltype(tzc_variant_clear)>("tzc_variant_clear");
        ASSERT_TRUE(call && make_string && make_array && element && to_utf8 && clear);

        std::array<tzc_variant, 17> params;
        for (std::size_t i = 0; i < params.size(); ++i)
            params[i] = make_string(kTypical[i].c_str());
        tzc_variant result = make_array(0, 7);
        char error[200] = "";
        EXPECT_EQ(call(params.data(), 16, &result, error, sizeof error), TZC_OK) << "round " << round << ": " << error;
        char slot[64] = "";
        to_utf8(element(&result, 1), slot, sizeof slot);
        EXPECT_EQ(std::string(slot), name) << "round " << round;
        for (tzc_variant& param : params)
            clear(&param);
        clear(&result);
        ASSERT_EQ(dlclose(module.handle), 0);
        if (void* resident = dlopen(TZC_MODULE, RTLD_NOW | RTLD_NOLOAD))
            dlclose(resident);
        else
            ++unloaded;
    }
    unsetenv("TZC_INPUT");
    if (kept_screen.empty())
        unsetenv("TZC_SCREEN");
    else
        setenv("TZC_SCREEN", kept_screen.c_str(), 1);
    EXPECT_EQ(unloaded, 20) << "the module stays resident after dlclose";
}

// A host process that called the module, saw a message and unloaded it ends without a signal.
TEST(HostileModule, AHostThatShowedAMessageExitsCleanly)
{
    const std::string command = std::string("TZC_SCREEN=headless ") + TZC_HOST +
                                " --screen headless --input '1{Enter}{Enter}{Escape}' 2>&1";
    FILE* host = popen(command.c_str(), "r");
    ASSERT_NE(host, nullptr);
    std::string output;
    char buffer[256];
    while (std::fgets(buffer, sizeof buffer, host) != nullptr)
        output += buffer;
    const int status = pclose(host);
    ASSERT_TRUE(WIFEXITED(status)) << "tzc-host ended by a signal:\n" << output;
    EXPECT_EQ(WEXITSTATUS(status), 0) << output;
    EXPECT_EQ(output, "0=\n1=\n2=\n3=\n4=\n5=\n6=\n7=\n");
}

}  // namespace
