#include "TestHarness.h"

#include "Utf8.h"

#include "WindowsHeaders.h"

#include <cstdio>
#include <exception>
#include <vector>

using namespace Win32Ui;

namespace harness {
namespace {
struct Case {
    const char* name;
    TestBody body;
};

std::vector<Case>& Cases() {
    static std::vector<Case> cases;
    return cases;
}

std::vector<std::string> g_rows;
const char* g_current = "";
int g_failures = 0;
} // namespace

bool Register(const char* name, TestBody body) {
    Cases().push_back({name, body});
    return true;
}

void Fail(const char* file, int line, const std::string& message) {
    ++g_failures;
    std::string where = g_current;
    for (const std::string& row : g_rows)
        where += " [" + row + "]";
    std::printf("%s:%d: FAIL %s: %s\n", file, line, where.c_str(), message.c_str());
    std::fflush(stdout);
}

std::string Describe(const std::wstring& text) {
    return Describe(ToUtf8(text));
}

Row::Row(std::string label) {
    g_rows.push_back(std::move(label));
}
Row::~Row() {
    g_rows.pop_back();
}

} // namespace harness

// Runs every case, or those named on the command line; the exit code is the number of failed cases.
int main(int argc, char** argv) {
    using namespace harness;
    // A crash must end the test with a message, not with a dialog that waits for a click that never comes.
    SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOGPFAULTERRORBOX);
    int failedCases = 0;
    int ran = 0;
    for (const Case& testCase : Cases()) {
        bool selected = argc < 2;
        for (int i = 1; i < argc; ++i)
            selected = selected || std::string_view(argv[i]) == testCase.name;
        if (!selected)
            continue;
        ++ran;
        g_current = testCase.name;
        const int before = g_failures;
        const ULONGLONG started = GetTickCount64();
        try {
            testCase.body();
        } catch (const Abort&) {
        } catch (const std::exception& error) {
            Fail(__FILE__, __LINE__, std::string("exception: ") + error.what());
        }
        g_rows.clear();
        const bool passed = g_failures == before;
        failedCases += passed ? 0 : 1;
        std::printf("%s %s (%llu ms)\n", passed ? "PASS" : "FAIL", testCase.name, GetTickCount64() - started);
        std::fflush(stdout);
    }
    if (ran == 0) {
        std::printf("no test case matched\n");
        return 1;
    }
    std::printf("%d of %d cases passed\n", ran - failedCases, ran);
    return failedCases;
}
