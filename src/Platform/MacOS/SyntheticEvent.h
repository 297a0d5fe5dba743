#pragma once

#include <cstdint>
#include <variant>
#include <vector>

/// A synthetic event to post: its fields, set in this order on a fresh event (an integer
/// field with the integer setter, a double field with the double setter).
struct SyntheticEvent {
    struct Field {
        int number = 0;
        std::variant<std::int64_t, double> value;
        bool operator==(const Field&) const = default;
    };
    std::vector<Field> fields;
    bool operator==(const SyntheticEvent&) const = default;
};
