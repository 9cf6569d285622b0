#include "catalogue/service_manager_win32.h"

#include <cstring>

#include "catalogue/enumeration_pieces.h"
#include "text/byte_codes.h"
#include "text/wide_text_win32.h"

namespace quorvel {

namespace {

std::string text_or_empty(const char* text) { return text != nullptr ? text : ""; }

WideText wide_or_empty(const wchar_t* text) {
    return text != nullptr ? WideText(units_of(text)) : WideText();
}

constexpr DWORD LARGEST_CONFIG = 8 * 1024;

// A zero-filled LocalAlloc block of exactly the size the platform asked for;
// one too small is replaced by assigning a larger one.
class LocalBuffer {
public:
    explicit LocalBuffer(DWORD size)
        : size_(size), memory_(size ? LocalAlloc(LPTR, size) : nullptr) {}

    template <class T> T* as() const { return static_cast<T*>(memory_.get()); }
    DWORD size() const { return size_; }
    explicit operator bool() const { return static_cast<bool>(memory_); }

private:
    DWORD size_;
    LocalMemory memory_;
};

// The bytes of a list the platform ends with an empty text, up to that
// end; a null list has none.
std::string multi_string_bytes(const char* list) {
    if (list == nullptr) return std::string();
    const char* end = list;
    while (*end != '\0') end += std::strlen(end) + 1;
    return std::string(list, end);
}

struct EnumQuery {
    SC_HANDLE manager;
    DWORD type_mask;
    DWORD state_mask;
};

// One call into `buffer` from `resume` on: ERROR_SUCCESS for the last
// piece, ERROR_MORE_DATA when more remain, else why it failed.
DWORD enum_call(const EnumQuery& query, const LocalBuffer& buffer, DWORD& resume, DWORD& count,
                DWORD& needed) {
    count = 0;
    if (!buffer) return ERROR_NOT_ENOUGH_MEMORY;
    return EnumServicesStatusW(query.manager, query.type_mask, query.state_mask,
                               buffer.as<ENUM_SERVICE_STATUSW>(), buffer.size(), &needed, &count,
                               &resume)
               ? ERROR_SUCCESS
               : GetLastError();
}

// The wide call gives every name exactly; the texts the user reads are
// converted as the ANSI call would have handed them over.
PieceEnd fetch_piece(const EnumQuery& query, CodePage& code_page, LocalBuffer& buffer,
                     std::uint32_t& resume_point, std::vector<EnumRecord>& records) {
    DWORD resume = resume_point, count = 0, needed = 0;
    DWORD error = enum_call(query, buffer, resume, count, needed);
    if (error == ERROR_MORE_DATA && count == 0 && needed > buffer.size()) {
        // Not even one record fitted: once more with the room asked for.
        buffer = LocalBuffer(needed);
        resume = resume_point;
        error = enum_call(query, buffer, resume, count, needed);
    }
    const ENUM_SERVICE_STATUSW* entries = buffer.as<ENUM_SERVICE_STATUSW>();
    for (DWORD i = 0; i < count; ++i) {
        EnumRecord record;
        record.exact_name = wide_or_empty(entries[i].lpServiceName);
        record.service_name = code_page.to_ansi(record.exact_name);
        record.display_name = code_page.to_ansi(wide_or_empty(entries[i].lpDisplayName));
        record.service_type = entries[i].ServiceStatus.dwServiceType;
        record.current_state = entries[i].ServiceStatus.dwCurrentState;
        records.push_back(std::move(record));
    }
    resume_point = resume;
    if (error == ERROR_SUCCESS) return PieceEnd::last;
    return error == ERROR_MORE_DATA ? PieceEnd::more : PieceEnd::failed;
}

// The ANSI call on a service opened by its exact name: the texts come
// converted by the platform itself, as the list shows them.
bool read_config(SC_HANDLE service, ServiceConfig& config) {
    // No configuration is larger than 8 KiB, the platform says: one call
    // with that much room spares the sizing call, which is made only when
    // a call still reports too little room.
    LocalBuffer buffer(LARGEST_CONFIG);
    DWORD needed = 0;
    BOOL read = buffer && QueryServiceConfigA(service, buffer.as<QUERY_SERVICE_CONFIGA>(),
                                              buffer.size(), &needed);
    if (!read && buffer && GetLastError() == ERROR_INSUFFICIENT_BUFFER && needed > buffer.size()) {
        buffer = LocalBuffer(needed);
        read = buffer && QueryServiceConfigA(service, buffer.as<QUERY_SERVICE_CONFIGA>(),
                                             buffer.size(), &needed);
    }
    if (!read) return false;
    const auto* raw = buffer.as<QUERY_SERVICE_CONFIGA>();
    config.service_type = raw->dwServiceType;
    config.start_type = raw->dwStartType;
    config.error_control = raw->dwErrorControl;
    config.binary_path = text_or_empty(raw->lpBinaryPathName);
    config.load_order_group = text_or_empty(raw->lpLoadOrderGroup);
    config.tag_id = raw->dwTagId;
    config.dependencies = split_multi_string(multi_string_bytes(raw->lpDependencies));
    config.start_name = text_or_empty(raw->lpServiceStartName);
    config.display_name = text_or_empty(raw->lpDisplayName);
    return true;
}

}  // namespace

bool Win32ServiceManager::connected() {
    if (!tried_) {
        tried_ = true;
        manager_.reset(OpenSCManagerW(nullptr, nullptr, access_));
        if (!manager_) open_error_ = GetLastError();
    }
    return static_cast<bool>(manager_);
}

ScHandle Win32ServiceManager::open(const WideText& name, DWORD access) {
    if (!connected()) return ScHandle();
    return ScHandle(OpenServiceW(manager_.get(), wide(name), access));
}

// The sizing call tells the room for the first piece; each further piece
// starts where the platform's resume point says.
Enumeration Win32ServiceManager::enumerate(std::uint32_t type_mask, std::uint32_t state_mask) {
    if (!connected()) return {{}, false};
    const EnumQuery query{manager_.get(), type_mask, state_mask};
    DWORD needed = 0, count = 0, resume = 0;
    EnumServicesStatusW(query.manager, type_mask, state_mask, nullptr, 0, &needed, &count,
                        &resume);
    LocalBuffer buffer(needed);
    return enumerate_in_pieces(
        [&](std::uint32_t& resume_point, std::vector<EnumRecord>& records) {
            return fetch_piece(query, code_page_, buffer, resume_point, records);
        });
}

ServiceCall Win32ServiceManager::query_config(const WideText& name, ServiceConfig& config) {
    const ScHandle service = open(name, SERVICE_QUERY_CONFIG);
    if (!service) return ServiceCall::not_opened;
    return read_config(service.get(), config) ? ServiceCall::done : ServiceCall::failed;
}

// Room for one record without its strings: any dependent overflows it.
// Wine's stub succeeds with no records and leaves the rest untouched, so
// only a failure other than "more data" is unknown.
Answer Win32ServiceManager::has_dependents(const WideText& name) {
    const ScHandle service = open(name, SERVICE_ENUMERATE_DEPENDENTS);
    if (!service) return Answer::unknown;
    ENUM_SERVICE_STATUSW one{};
    DWORD needed = 0, count = 0;
    if (EnumDependentServicesW(service.get(), STATE_MASK_ALL, &one, sizeof one, &needed, &count))
        return count > 0 ? Answer::yes : Answer::no;
    return GetLastError() == ERROR_MORE_DATA ? Answer::yes : Answer::unknown;
}

bool Win32ServiceManager::query_status(const WideText& name, ServiceStatus& status) {
    const ScHandle service = open(name, SERVICE_QUERY_STATUS);
    SERVICE_STATUS raw{};
    if (!service || !QueryServiceStatus(service.get(), &raw)) return false;
    status = {raw.dwServiceType, raw.dwCurrentState};
    return true;
}

bool Win32ServiceManager::request_stop(const WideText& name) {
    const ScHandle service = open(name, SERVICE_STOP);
    SERVICE_STATUS status{};
    return service && ControlService(service.get(), SERVICE_CONTROL_STOP, &status) != 0;
}

bool Win32ServiceManager::start(const WideText& name) {
    const ScHandle service = open(name, SERVICE_START);
    return service && StartServiceW(service.get(), 0, nullptr) != 0;
}

bool Win32ServiceManager::remove(const WideText& name) {
    const ScHandle service = open(name, DELETE);
    return service && DeleteService(service.get()) != 0;
}

// The account goes as saved, even when empty: null would quietly turn the
// service into a LocalSystem one, which the saved row never said.
std::uint32_t Win32ServiceManager::create(const CreateServiceRequest& request) {
    if (!connected()) return open_error_ != 0 ? open_error_ : ERROR_ACCESS_DENIED;
    const ScHandle created(CreateServiceW(
        manager_.get(), wide(request.service_name), wide(request.display_name),
        SERVICE_ALL_ACCESS, request.service_type, request.start_type, SERVICE_ERROR_NORMAL,
        wide(request.binary_path), nullptr, nullptr, nullptr,
        wide(request.start_name), nullptr));
    return created ? 0 : GetLastError();
}

}  // namespace quorvel
