// Reading every service (or every service and driver) from the Service
// Control Manager and turning each into its ServiceRow.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "catalogue/service_manager.h"
#include "catalogue/service_registry.h"
#include "catalogue/service_row.h"
#include "text/code_page.h"

namespace quorvel {

// The longest description a row keeps: a 260-byte buffer less its
// terminator. Every other text is kept whole.
constexpr std::size_t MAX_TEXT_BYTES = 259;

// The "Description" value of the service's key, at most MAX_TEXT_BYTES
// bytes; nothing when the key cannot be opened, "" when the value is missing.
std::optional<std::string> describe_service(ServiceRegistry& registry, CodePage& code_page,
                                            const WideText& service_name);

// One row from what the platform reported. `config` is null when the
// configuration could not be read: columns 3 to 5 are then empty.
ServiceRow build_row(const EnumRecord& record, const ServiceConfig* config,
                     const std::optional<std::string>& description);

struct ServiceListing {
    std::vector<ServiceRow> rows;
    // False when services may be missing: the manager could not be opened,
    // or its list fell short even when asked again.
    bool complete = true;
};

// Every row in the enumeration's order, each service once; none when the
// manager cannot be opened. Descriptions are not read at all when
// `skip_descriptions` is set.
[[nodiscard]] ServiceListing read_service_rows(ServiceManager& scm, ServiceRegistry& registry,
                                               CodePage& code_page, bool show_all,
                                               bool skip_descriptions);

// The row of one service as it is now, read by its exact name as the list
// reads each: its status (for the state and the kind), its configuration
// and its description. False when the service or its configuration cannot
// be read.
[[nodiscard]] bool read_service_row(ServiceManager& scm, ServiceRegistry& registry,
                                    CodePage& code_page, const WideText& exact_name,
                                    bool skip_description, ServiceRow& row);

}  // namespace quorvel
