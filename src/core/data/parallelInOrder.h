#pragma once
// Work that can run on every core but whose results must be used one after another in a fixed
// order: produce(i) runs on a pool of threads, consume(i, result) on the calling thread for
// i = 0, 1, 2 ... strictly in turn. The pool runs at most a few results ahead of the consumer,
// so a long list does not pile up finished results in memory while the consumer catches up.

#include <algorithm>
#include <condition_variable>
#include <cstddef>
#include <exception>
#include <mutex>
#include <optional>
#include <system_error>
#include <thread>
#include <type_traits>
#include <utility>
#include <vector>

namespace zqar {

// The number of threads to use when asked for `requested`: 0 means one per hardware thread.
inline unsigned threadsFor(unsigned requested) {
    if (requested > 0)
        return requested;
    const unsigned hardware = std::thread::hardware_concurrency();
    return hardware > 0 ? hardware : 1;
}

namespace detail {

// The results of parallelInOrder between the pool and the calling thread. Result i waits in
// slot i % ahead; task i starts only once result i - ahead was taken.
template <typename Result> class InOrderSlots {
public:
    struct Slot {
        std::optional<Result> value;
        std::exception_ptr error;
        bool done = false;
    };

    InOrderSlots(std::size_t taskCount, std::size_t slotCount)
        : count(taskCount), ahead(slotCount), slots(slotCount) {}

    // On a pool thread: produces results in task order until none is left or the pool stops.
    template <typename Produce> void work(Produce &produce) {
        for (;;) {
            std::size_t task;
            {
                std::unique_lock<std::mutex> lock(mutex);
                roomFree.wait(lock, [&] {
                    return stopping || nextTask >= count || nextTask < taken + ahead;
                });
                if (stopping || nextTask >= count)
                    return;
                task = nextTask++;
            }
            Slot finished;
            try {
                finished.value.emplace(produce(task));
            } catch (...) {
                finished.error = std::current_exception();
            }
            finished.done = true;
            {
                std::lock_guard<std::mutex> lock(mutex);
                slots[task % ahead] = std::move(finished);
            }
            resultReady.notify_all();
        }
    }

    // On the calling thread: waits for result i and frees its slot for a later task.
    Slot take(std::size_t i) {
        Slot slot;
        {
            std::unique_lock<std::mutex> lock(mutex);
            resultReady.wait(lock, [&] { return slots[i % ahead].done; });
            slot = std::move(slots[i % ahead]);
            slots[i % ahead] = Slot{};
            ++taken;
        }
        roomFree.notify_all();
        return slot;
    }

    // Lets every pool thread return once its work in progress is finished.
    void stop() {
        {
            std::lock_guard<std::mutex> lock(mutex);
            stopping = true;
        }
        roomFree.notify_all();
    }

private:
    const std::size_t count;
    const std::size_t ahead;
    std::vector<Slot> slots;
    std::mutex mutex;
    std::condition_variable resultReady;
    std::condition_variable roomFree;
    std::size_t nextTask = 0;
    std::size_t taken = 0;
    bool stopping = false;
};

// Hands result i on; false when a consumer that answers bool asked to stop.
template <typename Consume, typename Result>
bool consumeOne(Consume &consume, std::size_t i, Result &&result) {
    if constexpr (std::is_same_v<std::invoke_result_t<Consume &, std::size_t, Result &&>, bool>) {
        return consume(i, std::forward<Result>(result));
    } else {
        consume(i, std::forward<Result>(result));
        return true;
    }
}

} // namespace detail

// produce(i) must be safe to run on several threads at once; consume sees no other thread's
// work but its own. An exception from produce reaches the caller when its result's turn
// comes; one from consume stops the pool (work in progress finishes) and goes on up. A
// consume that answers bool stops the work the same way by answering false; answers whether
// every result was consumed. With one thread, or one item, everything runs on the calling
// thread.
template <typename Result, typename Produce, typename Consume>
bool parallelInOrder(std::size_t count, unsigned threads, Produce &&produce, Consume &&consume) {
    const auto inTurn = [&](std::size_t from) {
        for (std::size_t i = from; i < count; ++i)
            if (!detail::consumeOne(consume, i, produce(i)))
                return false;
        return true;
    };
    const std::size_t workers = std::min<std::size_t>(threadsFor(threads), count);
    if (workers <= 1)
        return inTurn(0);

    detail::InOrderSlots<Result> slots(count, 2 * workers);
    // Stops and joins the pool on every way out, an exception included, before the slots go.
    struct Pool {
        detail::InOrderSlots<Result> &slots;
        std::vector<std::thread> threads;
        ~Pool() {
            slots.stop();
            for (std::thread &thread : threads)
                thread.join();
        }
    } pool{slots, {}};
    try {
        for (std::size_t i = 0; i < workers; ++i)
            pool.threads.emplace_back([&slots, &produce] { slots.work(produce); });
    } catch (const std::system_error &) {
        // A system out of threads still gets the work done by the threads it gave.
        if (pool.threads.empty())
            return inTurn(0);
    }

    for (std::size_t i = 0; i < count; ++i) {
        typename detail::InOrderSlots<Result>::Slot slot = slots.take(i);
        if (slot.error)
            std::rethrow_exception(slot.error);
        if (!detail::consumeOne(consume, i, std::move(*slot.value)))
            return false;
    }
    return true;
}

} // namespace zqar
