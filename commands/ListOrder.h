#pragma once

#include <string_view>

// The order of the message list's lines: ascending without regard to letter case, by Unicode code point once the
// case is folded, so the tab that ends a name sorts before every printable character and "Tea" stands before
// "Tea time"; lines equal but for case are ordered by their exact code points, so their order never depends on
// the order they were added in. Lines are UTF-8; a byte that is not part of a valid sequence counts as a
// character of its own, after every real one.
bool ListLineLess(std::string_view a, std::string_view b);

// The lower-case partner of a code point in the scripts people name things in (Latin, Greek, Cyrillic, Armenian
// and the full-width forms); any other code point stands for itself.
char32_t FoldCase(char32_t c);
