#pragma once

// A small harness for the Windows tests, which run as Windows programs under Wine: cases register themselves,
// checks report file:line with both values, and a row label names the table row a failing check belongs to.

#include <cstdint>
#include <sstream>
#include <string>
#include <string_view>
#include <type_traits>
#include <utility>

namespace harness {

using TestBody = void (*)();
bool Register(const char* name, TestBody body);

// Records a failed check; the case goes on with its next check.
void Fail(const char* file, int line, const std::string& message);
// Thrown by REQUIRE: a check the rest of the case cannot do without.
struct Abort {};

std::string Describe(const std::wstring& text);
inline std::string Describe(const std::string& text) {
    return '"' + text + '"';
}
inline std::string Describe(std::string_view text) {
    return Describe(std::string(text));
}
inline std::string Describe(const char* text) {
    return text ? Describe(std::string(text)) : "null";
}
inline std::string Describe(const wchar_t* text) {
    return text ? Describe(std::wstring(text)) : "null";
}
inline std::string Describe(bool value) {
    return value ? "true" : "false";
}
template <typename T> std::string Describe(const T& value) {
    if constexpr (std::is_pointer_v<T>) {
        std::ostringstream out;
        out << static_cast<const void*>(value);
        return out.str();
    } else if constexpr (std::is_enum_v<T>) {
        return std::to_string(static_cast<long long>(value));
    } else {
        std::ostringstream out;
        out << value;
        return out.str();
    }
}

template <typename A, typename B>
bool CheckEqual(const A& actual, const B& expected, const char* actualText, const char* expectedText, const char* file,
                int line) {
    if (actual == expected)
        return true;
    Fail(file, line,
         std::string(actualText) + " == " + expectedText + "\n    actual:   " + Describe(actual) +
             "\n    expected: " + Describe(expected));
    return false;
}

// Names the table row that the checks within its scope belong to.
class Row {
public:
    explicit Row(std::string label);
    ~Row();
    Row(const Row&) = delete;
    Row& operator=(const Row&) = delete;
};

} // namespace harness

#define TEST_CASE(name)                                                                                                \
    static void name();                                                                                                \
    static const bool name##_registered = ::harness::Register(#name, name);                                            \
    static void name()

#define CHECK(condition) ((condition) ? true : (::harness::Fail(__FILE__, __LINE__, "CHECK(" #condition ")"), false))
#define CHECK_EQ(actual, expected) ::harness::CheckEqual((actual), (expected), #actual, #expected, __FILE__, __LINE__)
#define REQUIRE(condition)                                                                                             \
    do {                                                                                                               \
        if (!(condition)) {                                                                                            \
            ::harness::Fail(__FILE__, __LINE__, "REQUIRE(" #condition ")");                                            \
            throw ::harness::Abort{};                                                                                  \
        }                                                                                                              \
    } while (false)
#define ROW(label) ::harness::Row row_scope_(label)
