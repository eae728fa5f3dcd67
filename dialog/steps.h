#pragma once
// What each step of a capture is, written once: the field it types, its prompt, its keypad, the
// characters it takes and its room, what the display line shows, what Enter checks before it
// moves on, what "Não informar" empties from it, and where its answer goes in the result. The
// key handlers, the flows, decline and the result vector read it; what truly differs per step
// (the document's masks and letters, the e-mail's check) stays with the code that does it.
#include <array>
#include <cstddef>
#include <string>

#include "dialog/frmCNPJCPF.h"

namespace Cli_Tzc04182 {

enum class Keypad : uint8_t { Digits, Letters };

struct PassoInfo {
    Passo passo;
    std::string TfrmCNPJCPF::*field;
    host::TLabel& (*prompt)(TfrmCNPJCPF&);
    // The catalogue text the step writes on its prompt when it opens; nullptr leaves the prompt's text.
    const char* prompt_key;
    Keypad keypad;

    // Typing: which bytes the step takes, while the display is shorter than `room`, up to
    // `field_limit` characters, and whether a line feed goes in when the display holds 50.
    bool (*takes)(unsigned char);
    std::size_t room;
    std::size_t field_limit;
    bool line_feed_at_50;
    // What the display line shows of the field while it is typed.
    std::string (*display)(const TfrmCNPJCPF&);

    // Enter: ignored on an empty field when `needs_answer`; removes the first line feed of
    // `line_feed_field` (the address step shares the telephone's); moves to `after_enter`.
    bool needs_answer;
    std::string TfrmCNPJCPF::*line_feed_field;
    Passo after_enter;

    // "Não informar": the steps up to the promotional code keep the answers before them; the
    // steps that stand in for the identification or open without it empty every answer.
    bool declines_all;
    // A flag that goes with the step's answer (the e-mail's), or nullptr.
    std::string TfrmCNPJCPF::*declined_with;

    // The answer's place in the result vector and its length there; 0: the promotional code's
    // length, `nTamCodPromoc`.
    int slot;
    std::size_t slot_length;
};

// One row per step, from PassoDocumento to PassoPesqCons, in the order of the answers.
extern const std::array<PassoInfo, 8> kPassos;

// The row of a step, or nullptr for PassoNenhum.
const PassoInfo* InfoDoPasso(Passo step);

// The field of a step, or nullptr for PassoNenhum.
std::string* StepField(TfrmCNPJCPF& dialog, Passo step);
// What the display line shows for the field of the step while it is typed, "" for PassoNenhum.
std::string StepDisplay(const TfrmCNPJCPF& dialog, Passo step);

}  // namespace Cli_Tzc04182
