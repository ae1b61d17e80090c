#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace vantorel::service {

// A small valid PDF document of a few pages in Helvetica that shows the
// number, so a download can be checked by eye and by any PDF reader. With a
// minimum size the document carries an unreferenced filler stream that brings
// it to that size (exactly, but for a byte where the length field widens),
// since benchmarks want large bodies that are still valid.
class SamplePdf {
public:
    static constexpr int kPageCount = 3;

    static std::string generate(std::string_view number, std::size_t minimumSize = 0);

private:
    // The document's size with a filler of that length, without building it.
    static std::size_t sizeWith(std::string_view number, std::size_t fillerLength);
};

}  // namespace vantorel::service
