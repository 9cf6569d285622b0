// The services the main list shows, kept whole by row key. The list view
// only shows them: it hands back at most what fits a caller's buffer (and
// some platforms leave a text that did not fit unterminated), so every
// reader finds a row's service here by the row's key instead.
#pragma once

#include <cstdint>
#include <utility>
#include <vector>

#include "catalogue/service_row.h"

namespace quorvel {

class ServiceTable {
public:
    // Every row anew, row i with key i.
    void replace(std::vector<ServiceRow> rows) { rows_ = std::move(rows); }
    std::size_t size() const { return rows_.size(); }

    // The service of a key; null for a key the table does not hold.
    const ServiceRow* find(std::uintptr_t key) const {
        return key < rows_.size() ? &rows_[key] : nullptr;
    }

    // The order of a header click: the column's whole texts ascending in
    // the list's text order, equal texts in the enumeration's order. A key
    // the table does not hold reads as the empty text.
    int compare(std::uintptr_t first_key, std::uintptr_t second_key, int column) const;

private:
    std::vector<ServiceRow> rows_;  // indexed by key
};

}  // namespace quorvel
