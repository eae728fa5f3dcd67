#pragma once
// A customer who reacts to what the screen shows, made from a seed or from fuzzer bytes, and
// the invariants the dialog keeps whenever the customer is about to act. Shared by the
// randomized tests and the fuzz targets.
#include <array>
#include <cstdint>
#include <functional>
#include <optional>
#include <random>
#include <span>
#include <string>

#include "support/call_harness.h"
#include "host/screens/script.h"

namespace testing_support {

// Where a random customer's decisions come from.
class Choices {
public:
    virtual ~Choices() = default;
    // A number from 0 to bound - 1; bound is at least 1.
    virtual uint32_t Below(uint32_t bound) = 0;
    bool Chance(uint32_t percent) { return Below(100) < percent; }
    template <typename T, std::size_t N>
    const T& Pick(const T (&items)[N])
    {
        return items[Below(N)];
    }
};

class SeededChoices final : public Choices {
public:
    explicit SeededChoices(uint64_t seed) : engine_(seed) {}
    uint32_t Below(uint32_t bound) override { return static_cast<uint32_t>(engine_() % bound); }

private:
    std::mt19937_64 engine_;
};

// Fuzzer bytes in order; once they run out every choice is 0.
class ByteChoices final : public Choices {
public:
    explicit ByteChoices(std::span<const uint8_t> bytes) : bytes_(bytes) {}
    uint32_t Below(uint32_t bound) override;
    bool Exhausted() const { return at_ >= bytes_.size(); }

private:
    std::span<const uint8_t> bytes_;
    std::size_t at_ = 0;
};

// The 18 parameters of one call, in Windows-1252.
using Parameters = std::array<std::string, 18>;

// A call with random flags (one of the flows, a terminal type, the foreign-identification
// button or not) and random pre-filled answers, mostly within their rooms.
Parameters RandomParameters(Choices& choices);
Call CallWith(const Parameters& params);

// What must hold of the dialog whenever the customer is about to act, and of the answers. The
// room of a field is its typing limit, or what the host pre-filled when that is longer.
class Invariants {
public:
    explicit Invariants(const Parameters& params) : params_(params) {}
    // What is broken now, or "" when everything holds. After a foreign identification inside
    // another step the display shows it, and room is measured on the display: the next name or
    // address character finds room once more.
    std::string Check(bool after_foreign_identification = false) const;
    // The same for the eight answers of a finished call (UTF-8, as the harness gives them).
    std::string CheckSlots(const std::array<std::string, 8>& slots) const;

private:
    std::size_t Room(std::size_t typed, int param) const;
    Parameters params_;
};

// Keys, characters (any byte, most of them ones that some step takes), touches of the controls
// that show on the form on top, and pauses long enough for the step timer. After `budget`
// actions it declines (Escape, Enter on a message) so that the call ends; it stops for good
// when an invariant breaks.
class RandomCustomer {
public:
    RandomCustomer(Choices& choices, const Invariants& invariants, int budget)
        : choices_(choices), invariants_(invariants), budget_(budget)
    {
    }
    // The headless screen's action source.
    std::optional<host::ScriptAction> Next();
    // What the customer did, in the script syntax, for replaying with tzc-host --input.
    const std::string& Script() const { return script_; }
    const std::string& Broken() const { return broken_; }

private:
    host::ScriptAction Random();
    host::ScriptAction Decline();
    host::ScriptAction Typed(char byte);
    host::ScriptAction Key(uint16_t key, bool shift = false);
    std::optional<host::ScriptAction> Touch();

    Choices& choices_;
    const Invariants& invariants_;
    int budget_;
    int acted_ = 0;
    bool foreign_identification_ = false;
    std::string script_;
    std::string broken_;
};

// Installs an action source on the harness's headless screen for one scope.
class ActionSourceScope {
public:
    explicit ActionSourceScope(std::function<std::optional<host::ScriptAction>()> source);
    ~ActionSourceScope();
    ActionSourceScope(const ActionSourceScope&) = delete;
    ActionSourceScope& operator=(const ActionSourceScope&) = delete;
};

// Runs the call with the customer and checks the answers; "" when the call ended with eight
// answers that keep their lengths and no invariant broke, else what went wrong. What the customer
// did and what the call gave back go to `script` and `outcome` when they are asked for.
std::string PlayRandomCall(Choices& choices, int budget, std::string* script = nullptr, CallResult* outcome = nullptr);

}  // namespace testing_support
