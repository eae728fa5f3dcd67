#pragma once
// What each step of a capture is, written once: the field it types, its prompt, its keypad, the
// characters it takes and its room, what the display line shows, what Enter checks before it
// moves on, what "Não informar" empties from it, and where its answer goes in the result. The
// key handlers, the flows, decline and the result vector read it; what truly differs per step
// (the document's masks and letters, the e-mail's check) stays with the code that does it.
#include <array>
#include <cstddef>
#include <limits>
#include <string>

#include "dialog/frmCNPJCPF.h"

namespace Cli_Tzc04182 {

enum class Keypad : uint8_t { Digits, Letters };

// A step's field takes any number of characters; its room on the display line is the limit.
inline constexpr std::size_t kNoFieldLimit = std::numeric_limits<std::size_t>::max();

// One step, written with designated initializers; a member with a default may be left out.
struct PassoInfo {
    Passo passo;
    std::string TfrmCNPJCPF::*field;
    Prompt prompt;
    // The catalogue text the step writes on its prompt when it opens; nullptr leaves the prompt's text.
    const char* prompt_key = nullptr;
    Keypad keypad;

    // Typing: which bytes the step takes, while the display is shorter than `room`, up to
    // `field_limit` characters, and whether a line feed goes in when the display holds 50.
    bool (*takes)(unsigned char);
    std::size_t room;
    std::size_t field_limit = kNoFieldLimit;
    bool line_feed_at_50 = false;
    // What the display line shows of the field while it is typed.
    std::string (*display)(const TfrmCNPJCPF&);

    // Enter: ignored on an empty field when `needs_answer`; removes the first line feed of
    // `line_feed_field` (the address step shares the telephone's); moves to `after_enter`.
    bool needs_answer = false;
    std::string TfrmCNPJCPF::*line_feed_field = nullptr;
    Passo after_enter;

    // "Não informar": the steps up to the promotional code keep the answers before them; the
    // steps that stand in for the identification or open without it empty every answer.
    bool declines_all = false;
    // A flag that goes with the step's answer (the e-mail's), or nullptr.
    std::string TfrmCNPJCPF::*declined_with = nullptr;

    // The answer's place in the result vector and its length there; 0: the promotional code's
    // length, `nTamCodPromoc`.
    int slot;
    std::size_t slot_length;
};

// One row per step, from PassoDocumento to PassoPesqCons: row i is the step i + 1 (asserted where
// the table is written), which is also the order of the answers.
extern const std::array<PassoInfo, 8> kPassos;

// The row of a step other than PassoNenhum. Decline reads the answers after a step as the rows
// after its own.
constexpr std::size_t RowOf(Passo step) { return static_cast<std::size_t>(step - PassoDocumento); }
static_assert(RowOf(PassoPesqCons) + 1 == std::tuple_size_v<decltype(kPassos)>, "a row for every step");

// The row of a step, or nullptr for PassoNenhum and for a value that names no step.
const PassoInfo* InfoDoPasso(Passo step);

// The field of a step, or nullptr for PassoNenhum.
std::string* StepField(TfrmCNPJCPF& dialog, Passo step);
// What the display line shows for the field of the step while it is typed, "" for PassoNenhum.
std::string StepDisplay(const TfrmCNPJCPF& dialog, Passo step);

}  // namespace Cli_Tzc04182
