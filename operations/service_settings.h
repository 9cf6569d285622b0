// What a re-created service needs beyond its row, read from the snapshot of
// its registry key: the settings the Service Control Manager holds in
// memory go through its own calls (they take effect at once); everything
// else, and anything those calls did not bring back as saved, is written
// into the registry.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "catalogue/service_manager.h"
#include "catalogue/service_registry.h"
#include "operations/system_paths.h"
#include "text/code_page.h"

namespace quorvel {

// What the record says a restored service is, as the list showed it: code
// page texts, and the numbers behind its labels.
struct RecordedService {
    std::string service_name;
    std::string display_name;
    std::string binary_path;
    std::string start_name;
    std::uint32_t service_type = 0x10;
    std::uint32_t start_type = 3;
};

// How the snapshot's texts are compared with the record's.
struct TextForms {
    CodePage& code_page;
    SystemPaths& paths;
};

// True when every key of the snapshot is the service's own key or lies
// below it (its first key being the service's key, whose name is the
// record's as the code page shows it): a snapshot never writes anywhere
// else, whatever a hand-edited file says.
bool snapshot_fits_service(const RegistryTree& snapshot, const std::string& service_name,
                           CodePage& code_page);

// Takes out what the system writes by itself and must not come back: the
// manager's mark of a service being deleted ("DeleteFlag" in the service's
// key), which would delete the restored service at the next start of
// Windows, and the volatile "Enum" subkey that Plug and Play fills while
// the service runs.
void drop_volatile_entries(RegistryTree& snapshot);

// The creation of a restored service. The record the user chose decides
// what runs: the name, display name, path, account, type and start type
// are the record's. Each is created in the snapshot's exact form where
// that is the same value (its code page form is the record's, letter case
// aside; a path whose expansion is the record's keeps its references; a
// display name "@file,-id" whose text is the record's stays indirect; a
// per-user type whose kind is the record's stays per-user), and in the
// record's own form otherwise. The snapshot (null when there is none)
// then loses these values, which never apply; one that differs from the
// record is named, and so is a security descriptor that is not well
// formed, which is left out of the manager's call and of the registry
// alike. Names are relative to the service's key, each with why.
[[nodiscard]] CreateServiceRequest decide_creation(const RecordedService& record,
                                                   RegistryTree* snapshot, TextForms forms,
                                                   std::vector<std::string>& named);

// The settings to hand to the manager, in order, after the service was
// created, from the snapshot of its key (which fits the service and went
// through decide_creation).
std::vector<ServiceSetting> manager_settings(const RegistryTree& snapshot);

// Makes the registry hold every key and value of the snapshot as saved,
// writing only what differs. Values the key has beyond the snapshot stay.
// Whatever the tree holds, the service's key never gets a value the
// registry would take for Type, Start, ImagePath, ObjectName, DisplayName
// or DeleteFlag (letter case aside, up to a zero), nor its Security key a
// Security value that is not a well-formed descriptor: such a value counts
// as not written.
// Gives the names of what could not be written, relative to the service's
// key ("ServiceDll" in Parameters is "Parameters\ServiceDll"; a key's
// default value is "(既定)").
[[nodiscard]] std::vector<std::string> write_snapshot_values(ServiceRegistry& registry,
                                                             const RegistryTree& snapshot,
                                                             CodePage& code_page);

}  // namespace quorvel
