#pragma once

#include <USD/layer/Value.h>
#include <algorithm>
#include <vector>

namespace usd::reader {

// The items one list op leaves when applied to an empty list: its explicit items, or the
// prepended, added and appended ones without the deleted ones.
template <typename T> std::vector<T> listOpItems(const ListOp<T>& op) {
    if (op.isExplicit) {
        return op.explicitItems;
    }
    std::vector<T> items;
    for (const auto* part : {&op.prependedItems, &op.addedItems, &op.appendedItems}) {
        for (const T& item : *part) {
            if (std::ranges::find(op.deletedItems, item) == op.deletedItems.end() &&
                std::ranges::find(items, item) == items.end()) {
                items.push_back(item);
            }
        }
    }
    return items;
}

// The items of a list-op field value of type ListOp<T>; empty for any other value.
template <typename T> std::vector<T> listOpItems(const Value* value) {
    const auto* op = value ? value->get<ListOp<T>>() : nullptr;
    return op ? listOpItems(*op) : std::vector<T>{};
}

} // namespace usd::reader
