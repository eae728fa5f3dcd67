#include "host/screens/script.h"

#include <charconv>
#include <cmath>

#include "host/text/strings.h"

namespace host {

EScriptError::EScriptError(std::string_view utf8) : std::runtime_error(Utf8ToCp1252(utf8)) {}

namespace {

struct NamedKey {
    std::string_view name;
    uint16_t key;
};
constexpr NamedKey kKeys[] = {
    {"Enter", VK_RETURN}, {"Backspace", VK_BACK}, {"Delete", VK_DELETE}, {"Escape", VK_ESCAPE}, {"F1", VK_F1}};

[[noreturn]] void Fail(std::string_view what, std::size_t at)
{
    throw EScriptError("script: " + std::string(what) + " at character " + std::to_string(at + 1));
}

Duration ParseWait(std::string_view text, std::size_t at)
{
    double amount = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), amount);
    const std::string_view unit(end, text.data() + text.size() - end);
    if (error != std::errc() || !std::isfinite(amount) || amount < 0 || amount > 86400.0 * 365)
        Fail("bad wait", at);
    if (unit == "s")
        return Duration(static_cast<int64_t>(std::llround(amount * 1e6)));
    if (unit == "ms")
        return Duration(static_cast<int64_t>(std::llround(amount * 1e3)));
    Fail("wait needs s or ms", at);
}

ScriptAction Make(ScriptAction::Kind kind)
{
    ScriptAction action;
    action.kind = kind;
    return action;
}

ScriptAction Typed(char character)
{
    ScriptAction action = Make(ScriptAction::Kind::Character);
    action.character = character;
    return action;
}

ScriptAction Named(ScriptAction::Kind kind, std::string_view name)
{
    ScriptAction action = Make(kind);
    action.name = std::string(name);
    return action;
}

}  // namespace

char CharacterAfterKey(uint16_t key)
{
    switch (key) {
    case VK_RETURN: return 13;
    case VK_BACK: return 8;
    case VK_ESCAPE: return 27;
    default: return 0;
    }
}

std::vector<ScriptAction> ParseScript(std::string_view utf8)
{
    std::vector<ScriptAction> actions;
    Duration pause{};
    auto add = [&](ScriptAction action) {
        action.delay = pause;
        pause = {};
        actions.push_back(std::move(action));
    };
    std::size_t i = 0;
    while (i < utf8.size()) {
        const char c = utf8[i];
        if ((c == '{' || c == '[') && i + 1 < utf8.size() && utf8[i + 1] == c) {
            add(Typed(c));
            i += 2;
            continue;
        }
        if (c == '[') {
            const std::size_t close = utf8.find(']', i);
            if (close == std::string_view::npos || close == i + 1)
                Fail("unfinished touch", i);
            add(Named(ScriptAction::Kind::Touch, utf8.substr(i + 1, close - i - 1)));
            i = close + 1;
            continue;
        }
        if (c == '{') {
            const std::size_t close = utf8.find('}', i);
            if (close == std::string_view::npos)
                Fail("unfinished key", i);
            std::string_view word = utf8.substr(i + 1, close - i - 1);
            if (word.starts_with("wait ")) {
                pause += ParseWait(word.substr(5), i);
            } else if (word.starts_with("shot ")) {
                add(Named(ScriptAction::Kind::Shot, word.substr(5)));
            } else {
                ShiftState shift = ShiftState::None;
                if (word.starts_with("Shift+")) {
                    shift = ShiftState::Shift;
                    word.remove_prefix(6);
                }
                uint16_t key = 0;
                for (const NamedKey& named : kKeys)
                    if (named.name == word)
                        key = named.key;
                if (key == 0)
                    Fail("unknown key {" + std::string(word) + "}", i);
                ScriptAction action = Make(ScriptAction::Kind::Key);
                action.key = key;
                action.shift = shift;
                add(std::move(action));
            }
            i = close + 1;
            continue;
        }
        // One UTF-8 character, typed as its Windows-1252 byte.
        std::size_t length = 1;
        while (i + length < utf8.size() && (static_cast<unsigned char>(utf8[i + length]) & 0xC0) == 0x80)
            ++length;
        const std::string typed = Utf8ToCp1252(utf8.substr(i, length));
        for (char byte : typed)
            add(Typed(byte));
        i += length;
    }
    if (pause > Duration::zero())
        add(Make(ScriptAction::Kind::End));
    return actions;
}

std::optional<TimePoint> ScriptTimeline::NextDue(TimePoint now)
{
    if (next_ >= actions_.size())
        return std::nullopt;
    if (!last_action_)
        last_action_ = now;
    return *last_action_ + actions_[next_].delay;
}

std::optional<ScriptAction> ScriptTimeline::Take(TimePoint now)
{
    if (next_ >= actions_.size())
        return std::nullopt;
    last_action_ = now;
    return actions_[next_++];
}

}  // namespace host
