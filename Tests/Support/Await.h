#pragma once

#include "API/APIError.h"

#include <QCoro/QCoroTask>
#include <QEventLoop>
#include <exception>
#include <optional>

// Runs a task to its end in a nested event loop and hands back its result or rethrows its
// failure (QCoro::waitFor would wait forever on a task that throws).
template<typename T>
T await(QCoro::Task<T> task)
{
    QEventLoop loop;
    bool done = false;
    std::exception_ptr failure;
    std::optional<std::conditional_t<std::is_void_v<T>, bool, T>> result;
    auto run = [&]() -> QCoro::Task<> {
        try {
            if constexpr (std::is_void_v<T>) {
                co_await std::move(task);
                result = true;
            } else {
                result = co_await std::move(task);
            }
        } catch (...) {
            failure = std::current_exception();
        }
        done = true;
        loop.quit();
    };
    QCoro::Task<> running = run();
    if (!done)
        loop.exec();
    if (failure)
        std::rethrow_exception(failure);
    if constexpr (!std::is_void_v<T>)
        return std::move(*result);
}

// The APIError a task fails with, or none when it succeeds.
template<typename T>
std::optional<APIError> apiFailure(QCoro::Task<T> task)
{
    try {
        await(std::move(task));
    } catch (const APIError &error) {
        return error;
    }
    return std::nullopt;
}
