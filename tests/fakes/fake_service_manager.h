// A Service Control Manager in memory for the unit tests. It keeps a log
// of every call that opens or closes a handle so that tests can check that
// each handle is closed, service handles before the manager's.
#pragma once

#include <map>
#include <set>
#include <stdexcept>
#include <string>
#include <vector>

#include "catalogue/service_manager.h"
#include "catalogue/service_registry.h"

namespace quorvel::testing {

struct FakeService {
    EnumRecord record;
    ServiceConfig config;
    bool config_readable = true;
    bool openable = true;
    std::uint32_t dependents_bytes = 0;
};

class FakeServiceManager : public ServiceManager {
public:
    std::vector<FakeService> services;
    bool manager_opens = true;
    std::vector<std::string> log;  // "open manager", "open X", "close X", "close manager"
    std::vector<std::uint32_t> enumerate_masks;

    FakeService& add(const std::string& name, const std::string& display, std::uint32_t type,
                     std::uint32_t state) {
        FakeService service;
        service.record = {name, display, type, state};
        services.push_back(service);
        return services.back();
    }

    int open_handles() const { return static_cast<int>(open_.size()); }

    ScHandle open_manager(std::uint32_t access) override {
        log.push_back("open manager " + std::to_string(access));
        if (!manager_opens) return 0;
        return remember(MANAGER, "manager");
    }

    std::vector<EnumRecord> enumerate(ScHandle manager, std::uint32_t type_mask,
                                      std::uint32_t state_mask) override {
        expect_open(manager);
        enumerate_masks.push_back(type_mask);
        std::vector<EnumRecord> out;
        for (const FakeService& s : services)
            if ((s.record.service_type & type_mask) != 0 && state_mask == STATE_MASK_ALL)
                out.push_back(s.record);
        return out;
    }

    ScHandle open_service(ScHandle manager, const std::string& name,
                          std::uint32_t access) override {
        expect_open(manager);
        log.push_back("open " + name + " " + std::to_string(access));
        const FakeService* service = find(name);
        if (service == nullptr || !service->openable) return 0;
        return remember(next_++, name);
    }

    bool query_config(ScHandle service, ServiceConfig& config) override {
        const FakeService* s = find(name_of(service));
        if (s == nullptr || !s->config_readable) return false;
        config = s->config;
        return true;
    }

    std::uint32_t dependents_bytes_needed(ScHandle service) override {
        const FakeService* s = find(name_of(service));
        return s == nullptr ? 0 : s->dependents_bytes;
    }

    bool query_state(ScHandle service, std::uint32_t& state) override {
        const FakeService* s = find(name_of(service));
        if (s == nullptr) return false;
        state = s->record.current_state;
        return true;
    }
    bool request_stop(ScHandle) override { return false; }
    bool start(ScHandle) override { return false; }
    bool remove(ScHandle) override { return false; }
    ScHandle create(ScHandle, const CreateServiceRequest&) override { return 0; }

    void close(ScHandle handle) override {
        log.push_back("close " + name_of(handle));
        open_.erase(handle);
    }

private:
    static constexpr ScHandle MANAGER = 1;
    ScHandle next_ = 100;
    std::map<ScHandle, std::string> open_;

    ScHandle remember(ScHandle handle, const std::string& name) {
        open_[handle] = name;
        return handle;
    }
    std::string name_of(ScHandle handle) const {
        auto it = open_.find(handle);
        return it == open_.end() ? "<closed handle>" : it->second;
    }
    void expect_open(ScHandle handle) const {
        if (open_.count(handle) == 0) throw std::logic_error("call on a handle that is not open");
    }
    const FakeService* find(const std::string& name) const {
        for (const FakeService& s : services)
            if (s.record.service_name == name) return &s;
        return nullptr;
    }
};

// Registry keys by path, each a map of value name to bytes.
class FakeServiceRegistry : public ServiceRegistry {
public:
    std::map<std::string, std::map<std::string, std::string>> keys;
    int reads = 0;

    bool read_value(const std::string& key_path, const char* value_name,
                    std::string& bytes) override {
        ++reads;
        auto key = keys.find(key_path);
        if (key == keys.end()) return false;
        auto value = key->second.find(value_name);
        bytes = value == key->second.end() ? std::string() : value->second;
        return true;
    }
};

}  // namespace quorvel::testing
