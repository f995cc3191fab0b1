#pragma once
// The steps a higher layer fills in at start-up (std::function members of a table). A step whose
// result the caller needs cannot be skipped: calling it while still empty is a fault of the
// start-up, and it says which step it was.
#include <functional>
#include <stdexcept>
#include <string>

template <class Result, class... Args>
const std::function<Result(Args...)>& required(const std::function<Result(Args...)>& step, const char* name)
{
    if (!step)
        throw std::logic_error(std::string("the step ") + name + " was not installed");
    return step;
}
