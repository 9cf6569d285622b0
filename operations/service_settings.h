// What a re-created service needs beyond its row, read from the snapshot of
// its registry key: the settings the Service Control Manager holds in
// memory go through its own calls (they take effect at once); everything
// else, and anything those calls did not bring back as saved, is written
// into the registry.
#pragma once

#include <string>
#include <vector>

#include "catalogue/service_manager.h"
#include "catalogue/service_registry.h"

namespace quorvel {

// True when every key of the snapshot is the service's own key or lies
// below it (its first key being the service's key): a snapshot never
// writes anywhere else, whatever a hand-edited file says.
bool snapshot_fits_service(const RegistryTree& snapshot, const std::string& service_name);

// Takes out what the system writes by itself and must not come back: the
// manager's mark of a service being deleted ("DeleteFlag" in the service's
// key), which would delete the restored service at the next start of
// Windows, and the volatile "Enum" subkey that Plug and Play fills while
// the service runs.
void drop_volatile_entries(RegistryTree& snapshot);

// Takes out of the snapshot (which fits the service) what a restoration
// must not apply, and names what differs from the record. The record the
// user chose decides what runs: the creation set the path, account, type,
// start type and display name from it, so the snapshot's values of these
// never apply, and one that differs is named. A security descriptor that
// is not well formed is named and left out too, of the manager's call and
// of the registry alike. Names are relative to the service's key, each with
// why it was left out.
std::vector<std::string> withhold_values(RegistryTree& snapshot,
                                         const CreateServiceRequest& request);

// The settings to hand to the manager, in order, after the service was
// created, from the snapshot of its key (which fits the service and went
// through withhold_values).
std::vector<ServiceSetting> manager_settings(const RegistryTree& snapshot);

// Makes the registry hold every key and value of the snapshot as saved,
// writing only what differs. Values the key has beyond the snapshot stay.
// Gives the names of what could not be written, relative to the service's
// key ("ServiceDll" in Parameters is "Parameters\ServiceDll"; a key's
// default value is "(既定)").
std::vector<std::string> write_snapshot_values(ServiceRegistry& registry,
                                               const RegistryTree& snapshot);

}  // namespace quorvel
