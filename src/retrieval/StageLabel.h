#pragma once

#include <string>
#include <string_view>

#include "platform/Failure.h"

namespace vantorel {

// Runs one stage of a request; a failure inside it comes out with the stage's
// label in front, so the caller sees the chain of stages down to the cause.
template <typename Step>
auto withLabel(std::string_view label, Step&& step) -> decltype(step()) {
    try {
        return step();
    } catch (const Failure& failure) {
        throw Failure(std::string(label) + failure.message());
    }
}

}  // namespace vantorel
