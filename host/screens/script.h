#pragma once
// The scripted customer: a text of keys, touches and pauses (TZC_INPUT).
//   a character       typed on the keyboard (UTF-8 here, Windows-1252 to the dialog); "{{" and
//                     "[[" type the brace and the bracket
//   {Enter} {Backspace} {Delete} {Escape} {F1}, optionally {Shift+Enter}: a physical key
//   [NAME]            a touch of the named control of the form on top
//   {wait 20.5s}      the customer does nothing for that long ("ms" also understood)
//   {shot FILE.png}   a picture of the screen
#include <cstdint>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "host/forms/clock.h"
#include "host/forms/messages.h"

namespace host {

// The scripted customer has nothing more to do while the dialog still waits.
class EInputEnded : public std::runtime_error {
public:
    EInputEnded() : std::runtime_error("input ended") {}
};

// A script that cannot be played (a touch of a hidden control, a bad key name). Told in UTF-8,
// the script's own text, and kept in Windows-1252 like every message of the module, so that the
// C entry's conversion to UTF-8 does not encode it twice.
class EScriptError : public std::runtime_error {
public:
    explicit EScriptError(std::string_view utf8);
};

struct ScriptAction {
    enum class Kind : uint8_t { Character, Key, Touch, Shot, End };
    Kind kind = Kind::End;
    Duration delay{};        // the pause before it
    char character = 0;      // Character (Windows-1252)
    uint16_t key = 0;        // Key: virtual-key code
    ShiftState shift = ShiftState::None;
    std::string name;        // Touch: control; Shot: file
};

// Throws EScriptError with the offending position.
std::vector<ScriptAction> ParseScript(std::string_view utf8);

// A script played in real time: each action's pause counts from the previous action, the first
// one's from the first time anyone asks.
class ScriptTimeline {
public:
    explicit ScriptTimeline(std::vector<ScriptAction> actions) : actions_(std::move(actions)) {}
    // When the next action is due; nothing once every action is done.
    std::optional<TimePoint> NextDue(TimePoint now);
    // The next action, taken at now; nothing once every action is done.
    std::optional<ScriptAction> Take(TimePoint now);

private:
    std::vector<ScriptAction> actions_;
    std::size_t next_ = 0;
    std::optional<TimePoint> last_action_;
};

// The character a keyboard sends after the key-down of key, or 0.
char CharacterAfterKey(uint16_t key);

}  // namespace host
