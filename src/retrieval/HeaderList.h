#pragma once

#include <initializer_list>
#include <string>
#include <string_view>
#include <vector>

namespace vantorel {

// Raw header lines in arrival order. A line is the name, a colon and the
// value; a line beginning with a space or tab continues the previous value.
// Lookups ignore the name's case and take the first matching line.
class HeaderList {
public:
    void add(std::string line) { lines_.push_back(std::move(line)); }
    void clear() { lines_.clear(); }
    std::size_t size() const { return lines_.size(); }
    const std::vector<std::string>& lines() const { return lines_; }

    // The value of the first line of that name, empty when there is none.
    std::string value(std::string_view name) const;
    // The values of every line carrying one of the names, in arrival order.
    std::vector<std::string> values(std::initializer_list<std::string_view> names) const;

private:
    std::string valueAt(std::size_t index) const;

    std::vector<std::string> lines_;
};

}  // namespace vantorel
