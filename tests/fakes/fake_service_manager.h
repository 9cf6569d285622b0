// A Service Control Manager in memory for the unit tests. It keeps a log
// of every call that opens or closes a handle so that tests can check that
// each handle is closed, service handles before the manager's.
#pragma once

#include <algorithm>
#include <map>
#include <set>
#include <stdexcept>
#include <string>
#include <vector>

#include "catalogue/enumeration_pieces.h"
#include "catalogue/service_manager.h"
#include "catalogue/service_registry.h"

namespace quorvel::testing {

struct FakeService {
    EnumRecord record;
    ServiceConfig config;
    bool config_readable = true;
    bool openable = true;
    Answer dependents = Answer::no;
    bool status_readable = true;
    bool stop_accepted = true;
    // Status queries after an accepted stop request before the service
    // reports stopped; -1: it never does.
    int queries_until_stopped = 0;
    bool stop_requested = false;
    bool start_accepted = true;
    bool removable = true;
    bool removed = false;
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

    // Records per call of the enumeration, as the platform caps them; 0:
    // every record in one call. Each call's resume point is kept.
    std::size_t piece_size = 0;
    std::vector<std::uint32_t> piece_starts;
    // Calls of the enumeration, numbered as in piece_starts from 1, that go
    // wrong: `failed` brings nothing and fails; `more` brings nothing
    // but says more remain.
    std::map<std::size_t, PieceEnd> piece_faults;
    // Calls that start one record before their resume point, as after a
    // service was added meanwhile: that record comes twice.
    std::set<std::size_t> pieces_starting_early;

    // The pieces go through the same loop as the platform's.
    std::vector<EnumRecord> enumerate(ScHandle manager, std::uint32_t type_mask,
                                      std::uint32_t state_mask) override {
        expect_open(manager);
        enumerate_masks.push_back(type_mask);
        std::vector<EnumRecord> listed;
        for (const FakeService& s : services)
            if ((s.record.service_type & type_mask) != 0 && state_mask == STATE_MASK_ALL)
                listed.push_back(s.record);
        return enumerate_in_pieces([&](std::uint32_t& resume, std::vector<EnumRecord>& out) {
            piece_starts.push_back(resume);
            const std::size_t call = piece_starts.size();
            auto fault = piece_faults.find(call);
            if (fault != piece_faults.end()) return fault->second;
            if (pieces_starting_early.count(call) != 0 && resume > 0) --resume;
            const std::size_t end =
                piece_size == 0 ? listed.size() : std::min(listed.size(), resume + piece_size);
            out.insert(out.end(), listed.begin() + resume, listed.begin() + end);
            resume = static_cast<std::uint32_t>(end);
            return end < listed.size() ? PieceEnd::more : PieceEnd::last;
        });
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

    Answer has_dependents(ScHandle service) override {
        const FakeService* s = find(name_of(service));
        return s == nullptr ? Answer::unknown : s->dependents;
    }

    bool query_state(ScHandle service, std::uint32_t& state) override {
        FakeService* s = find(name_of(service));
        log.push_back("query " + name_of(service));
        if (s == nullptr || !s->status_readable) return false;
        if (s->stop_requested && s->queries_until_stopped >= 0 &&
            s->queries_until_stopped-- == 0)
            s->record.current_state = STATE_STOPPED;
        state = s->record.current_state;
        return true;
    }

    bool request_stop(ScHandle service) override {
        FakeService* s = find(name_of(service));
        log.push_back("stop " + name_of(service));
        if (s == nullptr || !s->stop_accepted) return false;
        s->stop_requested = true;
        return true;
    }

    bool start(ScHandle service) override {
        FakeService* s = find(name_of(service));
        log.push_back("start " + name_of(service));
        if (s == nullptr || !s->start_accepted) return false;
        s->record.current_state = STATE_RUNNING;
        return true;
    }

    bool remove(ScHandle service) override {
        FakeService* s = find(name_of(service));
        log.push_back("delete " + name_of(service));
        if (s == nullptr || !s->removable) return false;
        s->removed = true;
        return true;
    }

    // Fails, as the platform does, when the name is taken.
    ScHandle create(ScHandle manager, const CreateServiceRequest& request) override {
        expect_open(manager);
        created.push_back(request);
        log.push_back("create " + request.service_name);
        if (find(request.service_name) != nullptr) return 0;
        FakeService& service = add(request.service_name, request.display_name,
                                   request.service_type, STATE_STOPPED);
        service.config.service_type = request.service_type;
        service.config.start_type = request.start_type;
        service.config.binary_path = request.binary_path;
        service.config.start_name = request.start_name;
        return remember(next_++, request.service_name);
    }

    std::vector<CreateServiceRequest> created;
    std::uint32_t create_error = 1073;  // ERROR_SERVICE_EXISTS, for a taken name

    std::uint32_t last_create_error() override { return create_error; }

    // Every setting changed, in order; kinds in `refused_settings` fail.
    std::vector<ServiceSetting> changed;
    std::set<SettingKind> refused_settings;

    bool change_setting(ScHandle service, const ServiceSetting& setting) override {
        log.push_back("change " + name_of(service));
        if (refused_settings.count(setting.kind) != 0) return false;
        changed.push_back(setting);
        return true;
    }

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
            if (s.record.service_name == name && !s.removed) return &s;
        return nullptr;
    }
    FakeService* find(const std::string& name) {
        return const_cast<FakeService*>(static_cast<const FakeServiceManager*>(this)->find(name));
    }
};

// Registry keys by path, each a map of value name to bytes; a value's type
// is REG_SZ unless `types` says otherwise.
class FakeServiceRegistry : public ServiceRegistry {
public:
    std::map<std::string, std::map<std::string, std::string>> keys;
    std::map<std::string, std::map<std::string, std::uint32_t>> types;
    std::set<std::string> unreadable;  // "key": its values, subkeys and every value unknown;
                                       // "key|value": that value unknown
    std::set<std::string> read_only;   // "key" or "key|value": cannot be created or written
    int reads = 0;

    void set(const std::string& key, const RegistryValue& value) {
        keys[key][value.name] = value.data;
        types[key][value.name] = value.type;
    }

    RegistryRead list_values(const std::string& key_path,
                             std::vector<RegistryValue>& values) override {
        auto key = keys.find(key_path);
        if (unreadable.count(key_path) != 0) return RegistryRead::unknown;
        if (key == keys.end()) return RegistryRead::no_key;
        values.clear();
        for (const auto& value : key->second) {
            auto type = types[key_path].find(value.first);
            values.push_back({value.first,
                              type == types[key_path].end() ? VALUE_SZ : type->second,
                              value.second});
        }
        return RegistryRead::found;
    }

    bool create_key(const std::string& key_path) override {
        if (read_only.count(key_path) != 0) return false;
        keys[key_path];
        return true;
    }

    bool write_value(const std::string& key_path, const RegistryValue& value) override {
        if (keys.count(key_path) == 0 || read_only.count(key_path + "|" + value.name) != 0)
            return false;
        set(key_path, value);
        return true;
    }

    RegistryRead read_value(const std::string& key_path, const char* value_name,
                            std::string& bytes) override {
        ++reads;
        if (unreadable.count(key_path) != 0 || unreadable.count(key_path + "|" + value_name) != 0)
            return RegistryRead::unknown;
        auto key = keys.find(key_path);
        if (key == keys.end()) return RegistryRead::no_key;
        auto value = key->second.find(value_name);
        if (value == key->second.end()) return RegistryRead::no_value;
        bytes = value->second;
        return RegistryRead::found;
    }

    // Subkeys are the keys whose path is `key_path` plus one more component.
    RegistryRead list_subkeys(const std::string& key_path,
                              std::vector<std::string>& names) override {
        if (unreadable.count(key_path) != 0) return RegistryRead::unknown;
        const std::string prefix = key_path + "\\";
        bool found = keys.count(key_path) > 0;
        std::vector<std::string> listed;
        for (const auto& entry : keys) {
            if (entry.first.compare(0, prefix.size(), prefix) != 0) continue;
            found = true;
            const std::string rest = entry.first.substr(prefix.size());
            if (rest.find('\\') == std::string::npos) listed.push_back(rest);
        }
        if (!found) return RegistryRead::no_key;
        names.swap(listed);
        return RegistryRead::found;
    }
};

}  // namespace quorvel::testing
