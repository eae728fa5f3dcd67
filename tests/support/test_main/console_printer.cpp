#include "console_printer.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

namespace testing_support {

namespace {

class ConsolePrinter final : public testing::EmptyTestEventListener {
public:
    explicit ConsolePrinter(bool brief) : brief_(brief) {}

    void OnTestIterationStart(const testing::UnitTest& unit_test, int) override
    {
        Print("[==========] Running " + std::to_string(unit_test.test_to_run_count()) + " tests from " +
              std::to_string(unit_test.test_suite_to_run_count()) + " test suites.");
    }

    void OnTestStart(const testing::TestInfo& test) override
    {
        if (!brief_)
            Print("[ RUN      ] " + Name(test));
    }

    void OnTestPartResult(const testing::TestPartResult& result) override
    {
        if (result.type() == testing::TestPartResult::kSuccess)
            return;
        const char* kind = result.type() == testing::TestPartResult::kSkip ? "Skipped" : "Failure";
        const std::string where =
            result.file_name() != nullptr
                ? std::string(result.file_name()) + ":" + std::to_string(result.line_number()) + ": "
                : "";
        Print(where + kind + "\n" + result.message());
    }

    void OnTestEnd(const testing::TestInfo& test) override
    {
        const testing::TestResult& result = *test.result();
        const std::string took = " (" + std::to_string(result.elapsed_time()) + " ms)";
        if (result.Failed()) {
            failed_.push_back(Name(test));
            Print("[  FAILED  ] " + Name(test) + took);
        } else if (result.Skipped()) {
            Print("[  SKIPPED ] " + Name(test));
        } else if (!brief_) {
            Print("[       OK ] " + Name(test) + took);
        }
    }

    void OnTestIterationEnd(const testing::UnitTest& unit_test, int) override
    {
        Print("[==========] " + Count(unit_test.test_to_run_count(), "test") + " from " +
              Count(unit_test.test_suite_to_run_count(), "test suite") + " ran. (" +
              std::to_string(unit_test.elapsed_time()) + " ms total)");
        Print("[  PASSED  ] " + Count(unit_test.successful_test_count(), "test") + ".");
        if (unit_test.skipped_test_count() > 0)
            Print("[  SKIPPED ] " + Count(unit_test.skipped_test_count(), "test") + ".");
        if (!failed_.empty()) {
            Print("[  FAILED  ] " + Count(static_cast<int>(failed_.size()), "test") + ", listed below:");
            for (const std::string& name : failed_)
                Print("[  FAILED  ] " + name);
        }
        failed_.clear();
    }

private:
    // "1 test", "2 tests": GoogleTest's own wording, which scripts and tests read.
    static std::string Count(int count, const std::string& noun)
    {
        return std::to_string(count) + " " + noun + (count == 1 ? "" : "s");
    }

    static std::string Name(const testing::TestInfo& test)
    {
        return std::string(test.test_suite_name()) + "." + test.name();
    }

    static void Print(const std::string& line)
    {
        std::fputs((line + "\n").c_str(), stdout);
        std::fflush(stdout);
    }

    bool brief_;
    std::vector<std::string> failed_;
};

}  // namespace

void UseConsolePrinter()
{
    testing::TestEventListeners& listeners = testing::UnitTest::GetInstance()->listeners();
    delete listeners.Release(listeners.default_result_printer());
    listeners.Append(new ConsolePrinter(GTEST_FLAG_GET(brief)));
}

}  // namespace testing_support
