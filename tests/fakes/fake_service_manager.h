// A Service Control Manager in memory for the unit tests. Services are
// found by their exact names, as the platform finds them; the log names
// each call and the service's name as the code page shows it.
#pragma once

#include <algorithm>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "catalogue/enumeration_pieces.h"
#include "catalogue/service_manager.h"
#include "catalogue/service_registry.h"
#include "fakes/fake_code_page.h"

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
    // The calls that reached this very service ("config", "stop", ...): the
    // log alone cannot tell look-alike names apart.
    std::vector<std::string> calls;
};

class FakeServiceManager : public ServiceManager {
public:
    std::vector<FakeService> services;
    bool manager_opens = true;
    std::vector<std::string> log;  // "query X", "stop X", "start X", "delete X", ...
    std::vector<std::uint32_t> enumerate_masks;

    // A service by its code page name, which is then also its exact name.
    FakeService& add(const std::string& name, const std::string& display, std::uint32_t type,
                     std::uint32_t state) {
        return add_exact(FakeCodePage().to_wide(name), display, type, state);
    }

    // A service by its exact name; the code page name is its conversion.
    FakeService& add_exact(const WideText& exact_name, const std::string& display,
                           std::uint32_t type, std::uint32_t state) {
        FakeService service;
        service.record = {exact_name, FakeCodePage().to_ansi(exact_name), display, type, state};
        service.config.service_type = type;
        service.config.display_name = display;
        services.push_back(service);
        return services.back();
    }

    [[nodiscard]] bool connected() override { return manager_opens; }

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
    [[nodiscard]] Enumeration enumerate(std::uint32_t type_mask,
                                        std::uint32_t state_mask) override {
        enumerate_masks.push_back(type_mask);
        std::vector<EnumRecord> listed;
        if (!manager_opens) return {listed, false};
        for (const FakeService& s : services)
            if ((s.record.service_type & type_mask) != 0 && state_mask == STATE_MASK_ALL &&
                !s.removed)
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

    [[nodiscard]] ServiceCall query_config(const WideText& name, ServiceConfig& config) override {
        const FakeService* s = open(name, "config");
        if (s == nullptr) return ServiceCall::not_opened;
        if (!s->config_readable) return ServiceCall::failed;
        config = s->config;
        return ServiceCall::done;
    }

    [[nodiscard]] Answer has_dependents(const WideText& name) override {
        const FakeService* s = open(name, "dependents");
        return s == nullptr ? Answer::unknown : s->dependents;
    }

    [[nodiscard]] bool query_status(const WideText& name, ServiceStatus& status) override {
        FakeService* s = open(name, "query");
        if (s == nullptr || !s->status_readable) return false;
        if (s->stop_requested && s->queries_until_stopped >= 0 &&
            s->queries_until_stopped-- == 0)
            s->record.current_state = STATE_STOPPED;
        status = {s->record.service_type, s->record.current_state};
        return true;
    }

    [[nodiscard]] bool request_stop(const WideText& name) override {
        FakeService* s = open(name, "stop");
        if (s == nullptr || !s->stop_accepted) return false;
        s->stop_requested = true;
        return true;
    }

    [[nodiscard]] bool start(const WideText& name) override {
        FakeService* s = open(name, "start");
        if (s == nullptr || !s->start_accepted) return false;
        s->record.current_state = STATE_RUNNING;
        return true;
    }

    [[nodiscard]] bool remove(const WideText& name) override {
        FakeService* s = open(name, "delete");
        if (s == nullptr || !s->removable) return false;
        s->removed = true;
        return true;
    }

    // Fails, as the platform does, when the name is taken.
    std::vector<CreateServiceRequest> created;
    std::uint32_t create_error = 1073;  // ERROR_SERVICE_EXISTS, for a taken name

    [[nodiscard]] std::uint32_t create(const CreateServiceRequest& request) override {
        created.push_back(request);
        log.push_back("create " + FakeCodePage().to_ansi(request.service_name));
        if (!manager_opens) return 5;  // ERROR_ACCESS_DENIED
        if (find(request.service_name) != nullptr) return create_error;
        FakeCodePage code_page;
        FakeService& service = add_exact(request.service_name,
                                         code_page.to_ansi(request.display_name),
                                         request.service_type, STATE_STOPPED);
        service.config.start_type = request.start_type;
        service.config.binary_path = code_page.to_ansi(request.binary_path);
        service.config.start_name = code_page.to_ansi(request.start_name);
        return 0;
    }

    // Every setting changed, in order; kinds in `refused_settings` fail.
    std::vector<ServiceSetting> changed;
    std::set<SettingKind> refused_settings;

    [[nodiscard]] bool change_setting(const WideText& name,
                                      const ServiceSetting& setting) override {
        if (open(name, "change") == nullptr || refused_settings.count(setting.kind) != 0)
            return false;
        changed.push_back(setting);
        return true;
    }

    FakeService* find(const WideText& name) {
        for (FakeService& s : services)
            if (same_wide_name(s.record.exact_name, name) && !s.removed) return &s;
        return nullptr;
    }

private:
    // Logs the call and opens the service as the platform would.
    FakeService* open(const WideText& name, const std::string& call) {
        log.push_back(call + " " + FakeCodePage().to_ansi(name));
        FakeService* s = find(name);
        if (!manager_opens || s == nullptr || !s->openable) return nullptr;
        s->calls.push_back(call);
        return s;
    }
};

// Registry keys by path, each a map of value name to bytes; a value's type
// is REG_SZ unless `types` says otherwise. Paths and names are exact; the
// registry itself folds ASCII letter case, which the tests never rely on.
class FakeServiceRegistry : public ServiceRegistry {
public:
    std::map<WideText, std::map<WideText, std::string>> keys;
    std::map<WideText, std::map<WideText, std::uint32_t>> types;
    std::set<WideText> unreadable;  // u"key": its values, subkeys and every value unknown;
                                    // u"key|value": that value unknown
    std::set<WideText> read_only;   // u"key" or u"key|value": cannot be created or written
    int reads = 0;

    void set(const WideText& key, const RegistryValue& value) {
        keys[key][value.name] = value.data;
        types[key][value.name] = value.type;
    }

    [[nodiscard]] RegistryRead list_values(const WideText& key_path,
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

    [[nodiscard]] bool create_key(const WideText& key_path) override {
        if (read_only.count(key_path) != 0) return false;
        keys[key_path];
        return true;
    }

    [[nodiscard]] bool write_value(const WideText& key_path, const RegistryValue& value) override {
        if (keys.count(key_path) == 0 || read_only.count(key_path + u"|" + value.name) != 0)
            return false;
        set(key_path, value);
        return true;
    }

    [[nodiscard]] RegistryRead read_value(const WideText& key_path, const WideText& value_name,
                                          std::string& bytes) override {
        ++reads;
        if (unreadable.count(key_path) != 0 || unreadable.count(key_path + u"|" + value_name) != 0)
            return RegistryRead::unknown;
        auto key = keys.find(key_path);
        if (key == keys.end()) return RegistryRead::no_key;
        auto value = key->second.find(value_name);
        if (value == key->second.end()) return RegistryRead::no_value;
        bytes = value->second;
        return RegistryRead::found;
    }

    // Subkeys are the keys whose path is `key_path` plus one more component.
    [[nodiscard]] RegistryRead list_subkeys(const WideText& key_path,
                                            std::vector<WideText>& names) override {
        if (unreadable.count(key_path) != 0) return RegistryRead::unknown;
        const WideText prefix = key_path + u"\\";
        bool found = keys.count(key_path) > 0;
        std::vector<WideText> listed;
        for (const auto& entry : keys) {
            if (entry.first.compare(0, prefix.size(), prefix) != 0) continue;
            found = true;
            const WideText rest = entry.first.substr(prefix.size());
            if (rest.find(u'\\') == WideText::npos) listed.push_back(rest);
        }
        if (!found) return RegistryRead::no_key;
        names.swap(listed);
        return RegistryRead::found;
    }
};

}  // namespace quorvel::testing
