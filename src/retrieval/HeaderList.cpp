#include "retrieval/HeaderList.h"

#include "retrieval/HttpText.h"

namespace vantorel {
namespace {

bool isContinuation(const std::string& line) {
    return !line.empty() && (line[0] == ' ' || line[0] == '\t');
}

bool hasName(const std::string& line, std::string_view name) {
    if (isContinuation(line)) return false;
    const std::size_t colon = line.find(':');
    return colon != std::string::npos &&
           equalsIgnoreCase(std::string_view(line).substr(0, colon), name);
}

}  // namespace

std::string HeaderList::valueAt(std::size_t index) const {
    const std::string& line = lines_[index];
    std::string value(trimBlanks(std::string_view(line).substr(line.find(':') + 1)));
    for (std::size_t next = index + 1; next < lines_.size() && isContinuation(lines_[next]);
         ++next) {
        value += ' ';
        value += trimBlanks(lines_[next]);
    }
    return value;
}

std::string HeaderList::value(std::string_view name) const {
    for (std::size_t i = 0; i < lines_.size(); ++i)
        if (hasName(lines_[i], name)) return valueAt(i);
    return {};
}

std::vector<std::string> HeaderList::values(std::initializer_list<std::string_view> names) const {
    std::vector<std::string> found;
    for (std::size_t i = 0; i < lines_.size(); ++i)
        for (const std::string_view name : names)
            if (hasName(lines_[i], name)) {
                found.push_back(valueAt(i));
                break;
            }
    return found;
}

}  // namespace vantorel
