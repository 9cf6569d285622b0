#include "catalogue/enumeration.h"

#include "catalogue/enumeration_pieces.h"
#include "text/byte_codes.h"
#include "text/cp932.h"

namespace quorvel {

std::optional<std::string> describe_service(ServiceRegistry& registry, CodePage& code_page,
                                            const WideText& service_name) {
    // The key path is built whole, so a long service name still reads its
    // own key rather than the key of a cut-off name.
    std::string bytes;
    const RegistryRead read =
        registry.read_value(service_key_path(service_name), u"Description", bytes);
    if (read == RegistryRead::no_value) return std::string();
    if (read != RegistryRead::found) return std::nullopt;
    return cut_cp932(code_page.to_ansi(wide_text_before_zero(bytes)), MAX_TEXT_BYTES);
}

ServiceRow build_row(const EnumRecord& record, const ServiceConfig* config,
                     const std::optional<std::string>& description) {
    ServiceRow row;
    row.texts[COL_NAME] = record.display_name;
    row.texts[COL_DESCRIPTION] = description.value_or("");
    row.texts[COL_STATE] = state_label(record.current_state);
    if (config != nullptr) {
        row.texts[COL_START_TYPE] = start_type_label(config->start_type);
        row.texts[COL_LOGON] = config->start_name;
        row.texts[COL_PATH] = config->binary_path;
    }
    row.texts[COL_SERVICE_NAME] = record.service_name;
    row.exact_name = record.exact_name;
    // The enumeration's type, not the configuration's.
    row.texts[COL_KIND] = service_type_label(record.service_type);
    row.service_type = record.service_type;
    row.current_state = record.current_state;
    return row;
}

ServiceListing read_service_rows(ServiceManager& scm, ServiceRegistry& registry,
                                 CodePage& code_page, bool show_all, bool skip_descriptions) {
    ServiceListing listing;
    std::vector<ServiceRow>& rows = listing.rows;
    const std::uint32_t mask = show_all ? TYPE_MASK_SERVICES_AND_DRIVERS : TYPE_MASK_SERVICES;
    Enumeration listed = scm.enumerate(mask, STATE_MASK_ALL);
    listing.complete = listed.complete;
    const std::vector<EnumRecord>& records = listed.records;
    rows.reserve(records.size());
    for (const EnumRecord& record : records) {
        ServiceConfig config;
        const bool have_config = scm.query_config(record.exact_name, config) == ServiceCall::done;
        std::optional<std::string> description;
        if (!skip_descriptions)
            description = describe_service(registry, code_page, record.exact_name);
        rows.push_back(build_row(record, have_config ? &config : nullptr, description));
    }
    return listing;
}

bool read_service_row(ServiceManager& scm, ServiceRegistry& registry, CodePage& code_page,
                      const WideText& exact_name, bool skip_description, ServiceRow& row) {
    ServiceStatus status;
    ServiceConfig config;
    if (!scm.query_status(exact_name, status) ||
        scm.query_config(exact_name, config) != ServiceCall::done)
        return false;
    const EnumRecord record{exact_name, code_page.to_ansi(exact_name), config.display_name,
                            status.service_type, status.current_state};
    std::optional<std::string> description;
    if (!skip_description) description = describe_service(registry, code_page, exact_name);
    row = build_row(record, &config, description);
    return true;
}

}  // namespace quorvel
