#include "platform/TemporaryFile.h"

#include <atomic>
#include <cstdio>
#include <random>

namespace vantorel {
namespace {

constexpr char kPrefix[] = ".vantorel-";
constexpr char kSuffix[] = ".tmp";
constexpr std::size_t kPrefixLength = sizeof kPrefix - 1;
constexpr std::size_t kSuffixLength = sizeof kSuffix - 1;
constexpr std::size_t kDigits = 8;

}  // namespace

std::string TemporaryFile::freshName() {
    static std::atomic<std::uint32_t> counter{std::random_device{}()};
    static thread_local std::mt19937 random{std::random_device{}()};
    const std::uint32_t value = random() ^ (counter++ * 0x9E3779B9u);
    char digits[kDigits + 1];
    std::snprintf(digits, sizeof digits, "%08x", static_cast<unsigned>(value));
    return std::string(kPrefix) + digits + kSuffix;
}

bool TemporaryFile::isOurName(const std::string& name) {
    if (name.size() != kPrefixLength + kDigits + kSuffixLength) return false;
    if (name.compare(0, kPrefixLength, kPrefix) != 0) return false;
    if (name.compare(kPrefixLength + kDigits, kSuffixLength, kSuffix) != 0) return false;
    for (std::size_t i = kPrefixLength; i < kPrefixLength + kDigits; ++i) {
        const char c = name[i];
        if (!((c >= '0' && c <= '9') || (c >= 'a' && c <= 'f'))) return false;
    }
    return true;
}

}  // namespace vantorel
