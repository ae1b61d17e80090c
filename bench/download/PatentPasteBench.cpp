// Pastes standard input into an empty patent field, as a window would, and
// prints the field's text after it (the request as it is sent); the time it
// took goes to standard error.
// Usage: patent-paste-bench < column.txt
#include <chrono>
#include <cstdio>
#include <iostream>
#include <iterator>
#include <string>

#include "form/PatentPaste.h"

int main() {
    const std::string pasted{std::istreambuf_iterator<char>(std::cin),
                             std::istreambuf_iterator<char>()};
    const auto start = std::chrono::steady_clock::now();
    const auto field = vantorel::PatentPaste::apply("", 0, 0, pasted);
    const std::chrono::duration<double, std::micro> took = std::chrono::steady_clock::now() - start;
    std::cout << field.text << "\n";
    std::fprintf(stderr, "pasted %zu bytes into %zu bytes in %.1f us\n", pasted.size(),
                 field.text.size(), took.count());
    return 0;
}
