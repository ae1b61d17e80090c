#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include "HttpRequest.h"

namespace vantorel::service {

// Reads one request head from the bytes received so far. Every line and the
// whole head have limits; anything malformed is rejected with the 4xx status
// to answer, never guessed at.
class RequestHeadParser {
public:
    // A fetch request names every number in its request line, so that line
    // may be far longer than a header line.
    static constexpr std::size_t kLongestRequestLine = 65536;
    static constexpr std::size_t kLongestLine = 8192;
    // The header lines after the request line.
    static constexpr std::size_t kLongestHead = 65536;
    static constexpr std::size_t kMostHeaders = 100;

    enum class State { NeedMore, Complete, Rejected };

    struct Outcome {
        State state = State::NeedMore;
        HttpRequest request;       // when Complete
        std::size_t consumed = 0;  // bytes of the head, when Complete
        int status = 0;            // when Rejected
        std::string reason;        // when Rejected: reason phrase
        std::string detail;        // when Rejected: what was wrong, for the body
    };

    // A request line beyond `longestRequestLine` bytes is refused with 414.
    static Outcome parse(std::string_view received,
                         std::size_t longestRequestLine = kLongestRequestLine);

private:
    static Outcome reject(int status, std::string detail);
    static bool parseRequestLine(std::string_view line, HttpRequest& request, Outcome& outcome);
};

}  // namespace vantorel::service
