#include "catalogue/service_row.h"

#include <cstring>
#include <iterator>

#include "text/affixes.h"
#include "text/user_texts.h"

namespace quorvel {

static_assert(std::size(COLUMN_HEADERS) == COLUMN_COUNT, "a header for each column");

namespace {

struct StartTypeLabel {
    std::uint32_t value;
    const char* label;
};

// Forward table in value order; the reverse lookup walks REVERSE_START_TYPES.
const StartTypeLabel START_TYPES[] = {
    {0, BOOT_START}, {1, SYSTEM_START}, {2, AUTO_START}, {3, DEMAND_START}, {4, DISABLED_START},
};

// Reverse lookup order; "手動" is missing on purpose: it is the default.
const StartTypeLabel REVERSE_START_TYPES[] = {
    {2, AUTO_START}, {0, BOOT_START}, {1, SYSTEM_START}, {4, DISABLED_START},
};
constexpr std::uint32_t DEFAULT_START_TYPE = 3;  // SERVICE_DEMAND_START

constexpr std::uint32_t TYPE_KERNEL_DRIVER = 0x1;
constexpr std::uint32_t TYPE_FILE_SYSTEM_DRIVER = 0x2;
constexpr std::uint32_t TYPE_OWN_PROCESS = 0x10;
constexpr std::uint32_t TYPE_SHARE_PROCESS = 0x20;
constexpr std::uint32_t TYPE_INTERACTIVE = 0x100;
constexpr std::uint32_t TYPE_USER_SERVICE = 0x40;
constexpr std::uint32_t TYPE_USER_INSTANCE = 0x80;
constexpr std::uint32_t TYPE_ANY_DRIVER = 0x0B;  // kernel | file system | recognizer

constexpr std::size_t PROCESS_LABEL_BYTES = sizeof OWN_PROCESS - 1;  // 12
constexpr std::size_t INTERACTIVE_BYTES = sizeof INTERACTIVE - 1;    // 10
static_assert(sizeof SHARE_PROCESS - 1 == PROCESS_LABEL_BYTES,
              "both process labels are compared over the same byte count");

bool equals(const char* text, const char* label) {
    return text != nullptr && std::strcmp(text, label) == 0;
}

const char* base_type_label(std::uint32_t t) {
    if (t & TYPE_OWN_PROCESS) return OWN_PROCESS;
    if (t & TYPE_SHARE_PROCESS) return SHARE_PROCESS;
    if (t == TYPE_KERNEL_DRIVER) return KERNEL_DRIVER;
    if (t == TYPE_FILE_SYSTEM_DRIVER) return FILE_SYSTEM_DRIVER;
    return "";
}

}  // namespace

const char* state_label(std::uint32_t state) {
    switch (state) {
    case 2: return START_PENDING;  // STATE_START_PENDING
    case 4: return RUNNING;        // STATE_RUNNING
    default: return "";
    }
}

const char* start_type_label(std::uint32_t start_type) {
    for (const StartTypeLabel& entry : START_TYPES)
        if (entry.value == start_type) return entry.label;
    return "";
}

std::string service_type_label(std::uint32_t service_type) {
    std::string label = base_type_label(service_type);
    if (service_type & TYPE_INTERACTIVE) label += INTERACTIVE;
    if (!label.empty() && (service_type & TYPE_USER_INSTANCE)) label += USER_INSTANCE;
    else if (!label.empty() && (service_type & TYPE_USER_SERVICE)) label += USER_TEMPLATE;
    return label;
}

bool is_running_label(const char* text) { return equals(text, RUNNING); }

bool is_driver_type(std::uint32_t service_type) { return (service_type & TYPE_ANY_DRIVER) != 0; }

std::uint32_t start_type_from_label(const char* text) {
    for (const StartTypeLabel& entry : REVERSE_START_TYPES)
        if (equals(text, entry.label)) return entry.value;
    return DEFAULT_START_TYPE;
}

std::uint32_t base_service_type(std::uint32_t service_type) {
    return service_type & ~(TYPE_USER_SERVICE | TYPE_USER_INSTANCE);
}

std::uint32_t service_type_from_label(const char* text) {
    if (text == nullptr) return TYPE_OWN_PROCESS;
    for (std::uint32_t process : {TYPE_OWN_PROCESS, TYPE_SHARE_PROCESS}) {
        const char* label = process == TYPE_OWN_PROCESS ? OWN_PROCESS : SHARE_PROCESS;
        if (!starts_with(std::string_view(text), label)) continue;
        std::uint32_t type = process;
        const char* rest = text + PROCESS_LABEL_BYTES;
        if (starts_with(std::string_view(rest), INTERACTIVE)) {
            type |= TYPE_INTERACTIVE;
            rest += INTERACTIVE_BYTES;
        }
        if (equals(rest, USER_TEMPLATE)) type |= TYPE_USER_SERVICE;
        if (equals(rest, USER_INSTANCE)) type |= TYPE_USER_SERVICE | TYPE_USER_INSTANCE;
        return type;
    }
    if (equals(text, KERNEL_DRIVER)) return TYPE_KERNEL_DRIVER;
    if (equals(text, FILE_SYSTEM_DRIVER)) return TYPE_FILE_SYSTEM_DRIVER;
    return TYPE_OWN_PROCESS;
}

}  // namespace quorvel
