#include "retrieval/WorkCounter.h"

namespace vantorel {

void WorkCounter::begin(WorkMode mode, std::int64_t countMax) {
    Direction& d = direction(mode);
    if (d.level++ > 0) return;
    d.count = 0;
    d.countMax = countMax;
    if (onBegin_) onBegin_(mode, countMax);
}

void WorkCounter::add(WorkMode mode, std::int64_t bytes) {
    Direction& d = direction(mode);
    d.count += bytes;
    if (onWork_) onWork_(mode, d.count);
}

void WorkCounter::end(WorkMode mode) {
    Direction& d = direction(mode);
    if (d.level == 0) return;
    if (--d.level == 0 && onEnd_) onEnd_(mode);
}

WorkCounter::Scope::Scope(WorkCounter& counter, WorkMode mode, std::int64_t countMax)
    : counter_(counter), mode_(mode) {
    counter_.begin(mode_, countMax);
}

WorkCounter::Scope::~Scope() {
    if (!open_) return;
    // Unwinding already: a failing end event must not replace the first failure.
    try {
        counter_.end(mode_);
    } catch (...) {
    }
}

void WorkCounter::Scope::finish() {
    open_ = false;
    counter_.end(mode_);
}

}  // namespace vantorel
