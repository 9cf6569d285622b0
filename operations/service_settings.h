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

// Takes out the manager's mark of a service being deleted ("DeleteFlag" in
// the service's key): brought back, it would delete the restored service
// at the next start of Windows.
void drop_deletion_mark(RegistryTree& snapshot);

// The settings to hand to the manager, in order, after the service was
// created with `request`, from the snapshot of its key (which fits the
// service). Fields that the creation already set as saved are left out.
std::vector<ServiceSetting> manager_settings(const RegistryTree& snapshot,
                                             const CreateServiceRequest& request);

// Makes the registry hold every key and value of the snapshot as saved,
// writing only what differs. Values the key has beyond the snapshot stay.
// Gives the names of what could not be written, relative to the service's
// key ("ServiceDll" in Parameters is "Parameters\ServiceDll"; a key's
// default value is "(既定)").
std::vector<std::string> write_snapshot_values(ServiceRegistry& registry,
                                               const RegistryTree& snapshot);

}  // namespace quorvel
