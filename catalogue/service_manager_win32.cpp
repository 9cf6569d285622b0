#include "catalogue/service_manager_win32.h"

#include <windows.h>

#include <cstring>
#include <optional>

#include "catalogue/enumeration_pieces.h"
#include "platform/unique_handle_win32.h"
#include "text/byte_codes.h"

namespace quorvel {

namespace {

std::string text_or_empty(const char* text) { return text != nullptr ? text : ""; }

constexpr DWORD LARGEST_CONFIG = 8 * 1024;

// A zero-filled LocalAlloc block of exactly the size the platform asked for.
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
    return EnumServicesStatusA(query.manager, query.type_mask, query.state_mask,
                               buffer.as<ENUM_SERVICE_STATUSA>(), buffer.size(), &needed, &count,
                               &resume)
               ? ERROR_SUCCESS
               : GetLastError();
}

PieceEnd fetch_piece(const EnumQuery& query, std::optional<LocalBuffer>& buffer,
                     std::uint32_t& resume_point, std::vector<EnumRecord>& records) {
    DWORD resume = resume_point, count = 0, needed = 0;
    DWORD error = enum_call(query, *buffer, resume, count, needed);
    if (error == ERROR_MORE_DATA && count == 0 && needed > buffer->size()) {
        // Not even one record fitted: once more with the room asked for.
        buffer.emplace(needed);
        resume = resume_point;
        error = enum_call(query, *buffer, resume, count, needed);
    }
    const ENUM_SERVICE_STATUSA* entries = buffer->as<ENUM_SERVICE_STATUSA>();
    for (DWORD i = 0; i < count; ++i) {
        records.push_back({text_or_empty(entries[i].lpServiceName),
                           text_or_empty(entries[i].lpDisplayName),
                           entries[i].ServiceStatus.dwServiceType,
                           entries[i].ServiceStatus.dwCurrentState});
    }
    resume_point = resume;
    if (error == ERROR_SUCCESS) return PieceEnd::last;
    return error == ERROR_MORE_DATA ? PieceEnd::more : PieceEnd::failed;
}

}  // namespace

ScHandle Win32ServiceManager::open_manager(std::uint32_t access) {
    return opaque_handle(OpenSCManagerA(nullptr, nullptr, access));
}

// The sizing call tells the room for the first piece; each further piece
// starts where the platform's resume point says.
std::vector<EnumRecord> Win32ServiceManager::enumerate(ScHandle manager, std::uint32_t type_mask,
                                                       std::uint32_t state_mask) {
    const EnumQuery query{sc_handle(manager), type_mask, state_mask};
    DWORD needed = 0, count = 0, resume = 0;
    EnumServicesStatusA(query.manager, type_mask, state_mask, nullptr, 0, &needed, &count,
                        &resume);
    std::optional<LocalBuffer> buffer;
    buffer.emplace(needed);
    return enumerate_in_pieces(
        [&](std::uint32_t& resume_point, std::vector<EnumRecord>& records) {
            return fetch_piece(query, buffer, resume_point, records);
        });
}

ScHandle Win32ServiceManager::open_service(ScHandle manager, const std::string& name,
                                           std::uint32_t access) {
    return opaque_handle(OpenServiceA(sc_handle(manager), name.c_str(), access));
}

bool Win32ServiceManager::query_config(ScHandle service, ServiceConfig& config) {
    // No configuration is larger than 8 KiB, the platform says: one call
    // with that much room spares the sizing call, which is made only when
    // a call still reports too little room.
    std::optional<LocalBuffer> buffer;
    buffer.emplace(LARGEST_CONFIG);
    DWORD needed = 0;
    BOOL read = *buffer && QueryServiceConfigA(sc_handle(service), buffer->as<QUERY_SERVICE_CONFIGA>(),
                                               buffer->size(), &needed);
    if (!read && *buffer && GetLastError() == ERROR_INSUFFICIENT_BUFFER &&
        needed > buffer->size()) {
        buffer.emplace(needed);
        read = *buffer && QueryServiceConfigA(sc_handle(service),
                                              buffer->as<QUERY_SERVICE_CONFIGA>(),
                                              buffer->size(), &needed);
    }
    if (!read) return false;
    const auto* raw = buffer->as<QUERY_SERVICE_CONFIGA>();
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

// Room for one record without its strings: any dependent overflows it.
// Wine's stub succeeds with no records and leaves the rest untouched, so
// only a failure other than "more data" is unknown.
Answer Win32ServiceManager::has_dependents(ScHandle service) {
    ENUM_SERVICE_STATUSA one{};
    DWORD needed = 0, count = 0;
    if (EnumDependentServicesA(sc_handle(service), STATE_MASK_ALL, &one, sizeof one, &needed, &count))
        return count > 0 ? Answer::yes : Answer::no;
    return GetLastError() == ERROR_MORE_DATA ? Answer::yes : Answer::unknown;
}

bool Win32ServiceManager::query_state(ScHandle service, std::uint32_t& state) {
    SERVICE_STATUS status{};
    if (!QueryServiceStatus(sc_handle(service), &status)) return false;
    state = status.dwCurrentState;
    return true;
}

bool Win32ServiceManager::request_stop(ScHandle service) {
    SERVICE_STATUS status{};
    return ControlService(sc_handle(service), SERVICE_CONTROL_STOP, &status) != 0;
}

bool Win32ServiceManager::start(ScHandle service) {
    return StartServiceA(sc_handle(service), 0, nullptr) != 0;
}

bool Win32ServiceManager::remove(ScHandle service) { return DeleteService(sc_handle(service)) != 0; }

// The account goes as saved, even when empty: null would quietly turn the
// service into a LocalSystem one, which the saved row never said.
ScHandle Win32ServiceManager::create(ScHandle manager, const CreateServiceRequest& request) {
    const SC_HANDLE created =
        CreateServiceA(sc_handle(manager), request.service_name.c_str(), request.display_name.c_str(),
                       SERVICE_FULL_ACCESS, request.service_type, request.start_type,
                       SERVICE_ERROR_NORMAL, request.binary_path.c_str(), nullptr, nullptr,
                       nullptr, request.start_name.c_str(), nullptr);
    if (created == nullptr) last_create_error_ = GetLastError();
    return opaque_handle(created);
}

void Win32ServiceManager::close(ScHandle handle) { CloseServiceHandle(sc_handle(handle)); }

}  // namespace quorvel
