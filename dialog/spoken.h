#pragma once
// What the customer who cannot see the screen hears: the step's prompt with how to decline, each
// key as it is accepted, the answer on Enter. Texts the screen shows are said as they stand; the
// few that only a listener needs are here. Nothing is built or said without a voice.
#include <string>
#include <string_view>

#include "dialog/steps.h"

namespace Cli_Tzc04182 {

// The prompt of a step that opens, and how to decline it.
void SayPrompt(std::string_view prompt);
// A character the step took.
void SayTyped(char typed);
// Backspace ("apagado") and Delete ("limpo").
void SayErased();
void SayCleared();
// The answer on Enter, from the display line: a number read in the groups its mask shows.
void SayAnswer(std::string_view display, Keypad keypad);
// On "APC" terminals, when the step's time limit is this close.
void SayTimeLeft();

// What is said for each of them (Windows-1252), for the voice's tests.
std::string SpokenCharacter(char typed);
std::string SpokenAnswer(std::string_view display, Keypad keypad);

}  // namespace Cli_Tzc04182
