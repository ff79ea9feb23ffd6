#pragma once

#include "API/WorkThreads.h"

#include <QFuture>
#include <QPromise>
#include <QThreadPool>
#include <QCoro/QCoroFuture>
#include <QCoro/QCoroTask>
#include <exception>
#include <memory>
#include <type_traits>
#include <utility>
#include <variant>

// Work on megabytes (a project's JSON made or read, its write to the store) done on a worker
// thread while the window's event loop goes on; what the work returns or throws comes back to the
// thread that waits for it. The work goes to the application's own threads unless given a pool.
namespace OffThread {

template<typename T>
using Outcome = std::variant<T, std::exception_ptr>;

// Hands the work to the pool. A pool of one thread does the works in the order they were given.
template<typename Work, typename T = std::invoke_result_t<Work>>
QFuture<Outcome<T>> start(Work work, QThreadPool *pool = &WorkThreads::shared())
{
    auto promise = std::make_shared<QPromise<Outcome<T>>>();
    QFuture<Outcome<T>> future = promise->future();
    promise->start();
    pool->start([promise, work = std::move(work)]() mutable {
        try {
            promise->addResult(Outcome<T>(std::in_place_index<0>, work()));
        } catch (...) {
            promise->addResult(Outcome<T>(std::in_place_index<1>, std::current_exception()));
        }
        promise->finish();
    });
    return future;
}

// The result of a work started above, or its failure thrown again.
template<typename T>
QCoro::Task<T> result(QFuture<std::variant<T, std::exception_ptr>> future)
{
    Outcome<T> outcome = co_await future;
    if (const auto *failure = std::get_if<1>(&outcome))
        std::rethrow_exception(*failure);
    co_return std::get<0>(std::move(outcome));
}

// start() and result() at once.
template<typename Work, typename T = std::invoke_result_t<Work>>
QCoro::Task<T> run(Work work, QThreadPool *pool = &WorkThreads::shared())
{
    return result(start(std::move(work), pool));
}

} // namespace OffThread
