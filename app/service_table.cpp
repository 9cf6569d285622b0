#include "app/service_table.h"

#include "text/cp932.h"

namespace quorvel {

int ServiceTable::compare(std::uintptr_t first_key, std::uintptr_t second_key,
                          int column) const {
    const ServiceRow* first = find(first_key);
    const ServiceRow* second = find(second_key);
    const int order = compare_text(first ? first->texts[column].c_str() : "",
                                   second ? second->texts[column].c_str() : "");
    if (order != 0) return order;
    return first_key < second_key ? -1 : (first_key > second_key ? 1 : 0);
}

}  // namespace quorvel
