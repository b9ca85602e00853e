#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// The rule for the copies a store keeps of damaged data before a repair drops part of it ("Damaged N" subkeys on
// Windows, "<file>.damaged-N" files on Linux), one rule for both: copies are numbered on from the highest number
// there, whatever order the system lists them in, and the numbers never wrap (they are decimal numbers of any
// length); only the newest ten are kept; and no copy is made that would be the same as the newest one.
namespace RescueCopies {

inline constexpr std::size_t kKept = 10;

// The number of a copy's name: the decimal digits after the prefix, without a leading zero; nullopt for a name
// that is not prefix and such a number (a name the user gave a copy, say), which the rule leaves alone.
std::optional<std::string> NumberOf(std::string_view name, std::string_view prefix);
// The decimal number one above the given one (any length: "9" gives "10", "4294967295" gives "4294967296").
std::string Next(std::string_view number);
// Whether the first number is below the second.
bool Less(std::string_view first, std::string_view second);

struct Plan {
    std::optional<std::string> newest; // the copy with the highest number, if there is one
    std::string next;                  // the name of a new copy, one above the highest number there
    // What goes once a new copy is made (all but the newest kKept - 1 of those there), and what goes when none is
    // made because the newest already holds the same (all but the newest kKept).
    std::vector<std::string> dropAfterCopy;
    std::vector<std::string> dropWithoutCopy;
};

// The plan for the names found beside the store (any names: those that are no copies are left out).
Plan PlanFor(const std::vector<std::string>& names, std::string_view prefix, std::size_t kept = kKept);

} // namespace RescueCopies
