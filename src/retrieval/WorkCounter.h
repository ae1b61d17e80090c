#pragma once

#include <cstdint>
#include <functional>

namespace vantorel {

enum class WorkMode { Receiving = 0, Sending = 1 };

// Progress bookkeeping for both directions: a nesting level, the expected
// total of the outermost piece of work and a running count. Only the
// outermost piece raises the begin and end events and resets the count.
class WorkCounter {
public:
    using BeginEvent = std::function<void(WorkMode mode, std::int64_t countMax)>;
    using WorkEvent = std::function<void(WorkMode mode, std::int64_t count)>;
    using EndEvent = std::function<void(WorkMode mode)>;

    // The events are read at the moment they fire, so the owner may replace them.
    WorkCounter(const BeginEvent& onBegin, const WorkEvent& onWork, const EndEvent& onEnd)
        : onBegin_(onBegin), onWork_(onWork), onEnd_(onEnd) {}

    void begin(WorkMode mode, std::int64_t countMax);
    void add(WorkMode mode, std::int64_t bytes);
    void end(WorkMode mode);

    // Ends the piece of work also when a failure leaves the scope.
    class Scope {
    public:
        Scope(WorkCounter& counter, WorkMode mode, std::int64_t countMax);
        ~Scope();
        Scope(const Scope&) = delete;
        Scope& operator=(const Scope&) = delete;
        void finish();

    private:
        WorkCounter& counter_;
        WorkMode mode_;
        bool open_ = true;
    };

private:
    struct Direction {
        int level = 0;
        std::int64_t countMax = 0;
        std::int64_t count = 0;
    };
    Direction& direction(WorkMode mode) { return directions_[static_cast<int>(mode) & 1]; }

    const BeginEvent& onBegin_;
    const WorkEvent& onWork_;
    const EndEvent& onEnd_;
    Direction directions_[2];
};

}  // namespace vantorel
