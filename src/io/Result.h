// SPDX-FileCopyrightText: 2026 The Corvane Desktop developers
// SPDX-License-Identifier: GPL-3.0-or-later

// What an operation that can fail gives back: its value, or the problem that
// stopped it, as one sentence the user can read ("cut short", "cannot open the
// file for reading: Permission denied"). One shape for every such failure, so
// callers never juggle out-parameters, flags and result structs; an outcome
// enum stays only where callers really branch on several outcomes.
// (std::expected comes with C++23; this is the part of it we need.)
#pragma once

#include <cassert>
#include <string>
#include <utility>
#include <variant>

namespace corvane {

struct Problem {
    std::string reason;  // a sentence fragment, no trailing full stop
};

inline Problem Fail(std::string reason) { return Problem{std::move(reason)}; }

template <class T>
class [[nodiscard]] Result {
public:
    Result(T value) : state_(std::in_place_index<0>, std::move(value)) {}
    Result(Problem problem) : state_(std::in_place_index<1>, std::move(problem)) {}

    bool Ok() const { return state_.index() == 0; }
    explicit operator bool() const { return Ok(); }

    T& operator*() & { return std::get<0>(state_); }
    const T& operator*() const& { return std::get<0>(state_); }
    T&& operator*() && { return std::get<0>(std::move(state_)); }
    T* operator->() { return &std::get<0>(state_); }
    const T* operator->() const { return &std::get<0>(state_); }

    // Why there is no value; only for a failed result.
    const std::string& Reason() const { return std::get<1>(state_).reason; }
    // The problem, to pass on from a function of another result type.
    const Problem& Error() const { return std::get<1>(state_); }

private:
    std::variant<T, Problem> state_;
};

// For operations that give nothing but success or a problem.
template <>
class [[nodiscard]] Result<void> {
public:
    Result() = default;
    Result(Problem problem) : problem_(std::move(problem)), failed_(true) {}

    bool Ok() const { return !failed_; }
    explicit operator bool() const { return Ok(); }
    const std::string& Reason() const {
        assert(failed_);
        return problem_.reason;
    }
    const Problem& Error() const { return problem_; }

private:
    Problem problem_;
    bool failed_ = false;
};

using Status = Result<void>;

}  // namespace corvane
