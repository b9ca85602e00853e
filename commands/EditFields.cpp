#include "EditFields.h"

#include "MessageValidation.h"

std::string WidestValidText(const NumberField& number) {
    const auto range = RangeOf(number.field);
    std::string text = std::to_string(range ? range->high : 0);
    // In a proportional face the digits may differ in width; 8 is among the widest in the usual ones.
    for (char& c : text)
        c = '8';
    return text;
}
