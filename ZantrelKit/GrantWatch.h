#pragma once

// Notices a permission being granted or withdrawn between two observations.

#include <optional>

namespace ZantrelKit {

struct GrantWatch {
    enum class Change { landed, lost };

    std::optional<bool> granted;  // the last observed state; nothing before the first

    // Stores the state just observed; a change only when it differs from a previous one.
    std::optional<Change> update(bool nowGranted) {
        const std::optional<bool> previous = granted;
        granted = nowGranted;
        if (!previous || *previous == nowGranted)
            return std::nullopt;
        return nowGranted ? Change::landed : Change::lost;
    }

    friend bool operator==(const GrantWatch&, const GrantWatch&) = default;
};

}  // namespace ZantrelKit
