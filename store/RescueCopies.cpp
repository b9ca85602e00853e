#include "RescueCopies.h"

#include <algorithm>

namespace RescueCopies {

std::optional<std::string> NumberOf(std::string_view name, std::string_view prefix) {
    if (name.size() <= prefix.size() || name.substr(0, prefix.size()) != prefix)
        return std::nullopt;
    const std::string_view digits = name.substr(prefix.size());
    if (digits.front() == '0')
        return std::nullopt;
    for (const char c : digits) {
        if (c < '0' || c > '9')
            return std::nullopt;
    }
    return std::string(digits);
}

std::string Next(std::string_view number) {
    std::string next(number);
    for (auto digit = next.rbegin(); digit != next.rend(); ++digit) {
        if (*digit != '9') {
            ++*digit;
            return next;
        }
        *digit = '0';
    }
    return '1' + next;
}

bool Less(std::string_view first, std::string_view second) {
    // Neither has a leading zero: the shorter is the smaller, and numbers of one length compare as text.
    return first.size() != second.size() ? first.size() < second.size() : first < second;
}

Plan PlanFor(const std::vector<std::string>& names, std::string_view prefix, std::size_t kept) {
    struct Copy {
        std::string number;
        std::string name;
    };
    std::vector<Copy> copies;
    for (const std::string& name : names) {
        if (std::optional<std::string> number = NumberOf(name, prefix))
            copies.push_back({std::move(*number), name});
    }
    // Newest first.
    std::sort(copies.begin(), copies.end(), [](const Copy& a, const Copy& b) { return Less(b.number, a.number); });

    Plan plan;
    plan.next = std::string(prefix) + (copies.empty() ? std::string("1") : Next(copies.front().number));
    if (!copies.empty())
        plan.newest = copies.front().name;
    for (std::size_t i = 0; i < copies.size(); ++i) {
        if (i + 1 >= kept)
            plan.dropAfterCopy.push_back(copies[i].name);
        if (i >= kept)
            plan.dropWithoutCopy.push_back(copies[i].name);
    }
    return plan;
}

} // namespace RescueCopies
