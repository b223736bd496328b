// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The hosted program's return stack: last in, first out, of 32-bit integers,
// a singly linked list whose top node is the stack.

#include <cstdint>
#include <memory>

namespace orbela {

class ReturnStack {
public:
    ReturnStack() = default;
    ~ReturnStack();
    ReturnStack(const ReturnStack&) = delete;
    ReturnStack& operator=(const ReturnStack&) = delete;

    // Makes the stack empty.
    void Initialise();
    void Push(std::int32_t value);
    // Precondition: not empty.
    std::int32_t Pop();
    bool Empty() const { return top_ == nullptr; }

private:
    struct Node {
        std::int32_t value;
        std::unique_ptr<Node> below;
    };
    std::unique_ptr<Node> top_;
};

} // namespace orbela
