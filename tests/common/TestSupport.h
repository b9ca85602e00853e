#pragma once

// Shared test doubles: a prompts recorder, a settable clock and local-time helpers.

#include "ReminderModel.h"
#include "UserPrompts.h"

#include <cstdlib>
#include <ctime>
#include <deque>
#include <functional>
#include <optional>
#include <string>
#include <vector>

// Records every beep and box instead of showing it; answers questions from a script (default: Yes).
class RecordingPrompts : public UserPrompts {
public:
    struct Box {
        std::string kind; // "error" or "question"
        std::string text;
        std::string caption;
    };

    void Beep() override {
        ++beeps;
        events.push_back("beep");
    }
    void ErrorBox(const std::string& text, const std::string& caption) override {
        boxes.push_back({"error", text, caption});
        events.push_back("error:" + text);
        if (onBox)
            onBox();
    }
    bool AskYesNo(const std::string& text, const std::string& caption) override {
        boxes.push_back({"question", text, caption});
        events.push_back("question:" + text);
        if (answers.empty())
            return true;
        const bool answer = answers.front();
        answers.pop_front();
        return answer;
    }

    std::vector<std::string> ErrorTexts() const {
        std::vector<std::string> texts;
        for (const Box& box : boxes)
            if (box.kind == "error")
                texts.push_back(box.text);
        return texts;
    }
    void Clear() {
        boxes.clear();
        events.clear();
        beeps = 0;
    }

    int beeps = 0;
    std::vector<Box> boxes;
    std::vector<std::string> events;
    std::deque<bool> answers;
    std::function<void()> onBox; // runs while a box would be open, as a nested event loop would
};

// A clock that stands still until a test moves it.
class FakeClock {
public:
    explicit FakeClock(std::time_t start = 0) : now(start) {}
    Clock AsClock() {
        return [this] { return now; };
    }
    void Advance(std::time_t seconds) { now += seconds; }
    std::time_t now;
};

// Seconds since 1970 of a local date and time, as the program converts entry times.
inline std::time_t LocalTime(int year, int month, int day, int hour, int minute, int second = 0) {
    std::tm local{};
    local.tm_year = year - 1900;
    local.tm_mon = month - 1;
    local.tm_mday = day;
    local.tm_hour = hour;
    local.tm_min = minute;
    local.tm_sec = second;
    local.tm_isdst = -1;
    return std::mktime(&local);
}

// Puts a time zone in force for its lifetime and the previous one back afterwards.
class ZoneGuard {
public:
    explicit ZoneGuard(const char* zone) {
        if (const char* previous = std::getenv("TZ"))
            m_previous = previous;
        setenv("TZ", zone, 1);
        tzset();
    }
    ~ZoneGuard() {
        if (m_previous)
            setenv("TZ", m_previous->c_str(), 1);
        else
            unsetenv("TZ");
        tzset();
    }
    ZoneGuard(const ZoneGuard&) = delete;
    ZoneGuard& operator=(const ZoneGuard&) = delete;

private:
    std::optional<std::string> m_previous;
};
