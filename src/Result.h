#pragma once
// The result of an operation that can fail: its value, or the error that
// says why not (with the system's reason where the system gave one). Every
// operation of the program that can fail answers with one.
#include <utility>
#include <variant>

namespace zuno {

template <typename T, typename E>
class Result {
public:
    Result(T value) : m_outcome(std::in_place_index<0>, std::move(value)) {}
    Result(E error) : m_outcome(std::in_place_index<1>, std::move(error)) {}

    bool ok() const { return m_outcome.index() == 0; }

    // Only when ok().
    const T &value() const & { return std::get<0>(m_outcome); }
    T &value() & { return std::get<0>(m_outcome); }
    T &&value() && { return std::get<0>(std::move(m_outcome)); }

    // Only when !ok().
    const E &error() const { return std::get<1>(m_outcome); }

private:
    std::variant<T, E> m_outcome;
};

// An operation that has nothing to answer but whether it worked: a default
// constructed Result<void, E> is success.
template <typename E>
class Result<void, E> {
public:
    Result() = default;
    Result(E error) : m_outcome(std::in_place_index<1>, std::move(error)) {}

    bool ok() const { return m_outcome.index() == 0; }

    // Only when !ok().
    const E &error() const { return std::get<1>(m_outcome); }

private:
    std::variant<std::monostate, E> m_outcome;
};

} // namespace zuno
