#pragma once

#include <exception>

// Thrown to the caller of a request whose owner went away: the request was aborted and there is
// no answer. Nothing is to be reported; whoever awaits it just ends.
class RequestCancelled : public std::exception
{
public:
    const char *what() const noexcept override { return "request cancelled"; }
};
