#pragma once

#include <cstddef>

namespace vantorel::test {

// Measures the most memory the program held through operator new at once
// since the meter was made, beyond what it held then.
class AllocationMeter {
public:
    AllocationMeter();
    std::size_t peak() const;

private:
    std::size_t start_;
};

}  // namespace vantorel::test
