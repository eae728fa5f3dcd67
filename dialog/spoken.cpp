#include "dialog/spoken.h"

#include "host/text/strings.h"
#include "host/voice/voice.h"

namespace Cli_Tzc04182 {

namespace {

// The texts a listener needs that the screen does not show.
constexpr const char* kHowToDecline = "Tecle Esc para não informar.";
constexpr const char* kErased = "apagado";
constexpr const char* kCleared = "limpo";
constexpr const char* kNoAnswer = "em branco";
constexpr const char* kTimeLeft = "Restam 5 segundos.";

struct NamedCharacter {
    char typed;
    const char* name;
};
// Characters an engine would skip or read differently alone.
constexpr NamedCharacter kNamedCharacters[] = {
    {' ', "espaço"}, {'@', "arroba"}, {'.', "ponto"}, {'-', "hífen"}, {'_', "sublinhado"},
    {'/', "barra"}, {',', "vírgula"}, {'&', "e comercial"},
};

bool On() { return host::CurrentVoice() != nullptr; }

void SayText(const char* utf8_text, host::SpeechKind kind) { host::Say(host::Utf8ToCp1252(utf8_text), kind); }

bool IsMaskPunctuation(char c) { return c == '.' || c == '-' || c == '/' || c == '(' || c == ')' || c == ' '; }

}  // namespace

std::string SpokenCharacter(char typed)
{
    for (const NamedCharacter& named : kNamedCharacters)
        if (named.typed == typed)
            return host::Utf8ToCp1252(named.name);
    return std::string(1, typed);
}

std::string SpokenAnswer(std::string_view display, Keypad keypad)
{
    std::string spoken;
    if (keypad == Keypad::Digits) {
        // "529.982.247-25" as "529, 982, 247, 25": the groups the customer would read.
        bool in_group = false;
        for (const char c : display) {
            if (IsMaskPunctuation(c) || c == '\n') {
                in_group = false;
                continue;
            }
            if (!in_group && !spoken.empty())
                spoken += ", ";
            spoken += c;
            in_group = true;
        }
    } else {
        for (const char c : display)
            spoken += c == '\n' ? ' ' : c;
    }
    if (host::Trim(spoken).empty())
        return host::Utf8ToCp1252(kNoAnswer);
    return spoken;
}

void SayPrompt(std::string_view prompt)
{
    if (On())
        host::Say(std::string(prompt) + ". " + host::Utf8ToCp1252(kHowToDecline), host::SpeechKind::Prompt);
}

void SayTyped(char typed)
{
    if (On())
        host::Say(SpokenCharacter(typed), host::SpeechKind::Echo);
}

void SayErased()
{
    if (On())
        SayText(kErased, host::SpeechKind::Echo);
}

void SayCleared()
{
    if (On())
        SayText(kCleared, host::SpeechKind::Echo);
}

void SayAnswer(std::string_view display, Keypad keypad)
{
    if (On())
        host::Say(SpokenAnswer(display, keypad), host::SpeechKind::Answer);
}

void SayTimeLeft()
{
    if (On())
        SayText(kTimeLeft, host::SpeechKind::Message);
}

}  // namespace Cli_Tzc04182
