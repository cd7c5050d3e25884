// SPDX-License-Identifier: Apache-2.0
// A value, or the reason there is none: what parsers of untrusted input return.
#pragma once

#include <utility>
#include <variant>

namespace kelvane {

template <typename T, typename E>
class Result {
public:
    Result(T value) : m_data(std::in_place_index<0>, std::move(value)) {}
    Result(E error) : m_data(std::in_place_index<1>, std::move(error)) {}

    bool ok() const { return m_data.index() == 0; }
    explicit operator bool() const { return ok(); }

    // Only when ok().
    const T &value() const { return std::get<0>(m_data); }
    T &value() { return std::get<0>(m_data); }
    // Only when !ok().
    const E &error() const { return std::get<1>(m_data); }

private:
    std::variant<T, E> m_data;
};

}  // namespace kelvane
