// SPDX-License-Identifier: GPL-3.0-or-later
#include "hosted/stack.h"

#include "text/error.h"

namespace orbela {

// Nodes are unlinked one at a time: letting the unique_ptr chain destroy
// itself would recurse once per node.
ReturnStack::~ReturnStack()
{
    Initialise();
}

void ReturnStack::Initialise()
{
    while (top_)
        top_ = std::move(top_->below);
}

void ReturnStack::Push(std::int32_t value)
{
    top_ = std::make_unique<Node>(Node{value, std::move(top_)});
}

std::int32_t ReturnStack::Pop()
{
    // The adventure pops only what it pushed; an empty pop is a defect of
    // the caller, reported rather than left to undefined behaviour.
    if (!top_)
        throw Error("return stack is empty");
    const std::int32_t value = top_->value;
    top_ = std::move(top_->below);
    return value;
}

} // namespace orbela
