// Fixture tool of the end-to-end tests: creates, changes, queries and
// deletes services through the Service Control Manager.
//   scmfix list MASK                  records as the program's refresh reads them
//   scmfix create NAME DISPLAY TYPE START BINPATH [ACCOUNT|-] [DEPENDENCY...]
//   scmfix delete NAME | start NAME | stop NAME | state NAME
//   scmfix wait-state NAME STATE TIMEOUT_MS
//   scmfix kill NAME                  ends the service's process
//   scmfix set-group NAME GROUP       sets the load-order group
//   scmfix describe NAME TEXT         writes the Description value itself
//   scmfix describe2 NAME TEXT        through ChangeServiceConfig2
//   scmfix set-error-control NAME N
//   scmfix set-failure-actions NAME RESET COMMAND [TYPE DELAY_MS]...
//   scmfix config NAME                what the manager's query calls report
//   scmfix hold NAME                  keeps the service open until standard
//                                     input ends; says "held" once it is
//   scmfix hold-file PATH             keeps the file open without sharing
//                                     until standard input ends; "held"
//   scmfix hold-lock HISTORY WHEN LINE
//                                     another copy saving the history: takes
//                                     its lock as the program does, says
//                                     "held", waits until WHEN holds
//                                     (hung:CAPTION, a dialog exists and its
//                                     thread answers nothing for 300 ms, as
//                                     while it waits for the lock; or
//                                     process:NAME, a process runs), then
//                                     adds LINE as the program saves (read,
//                                     temporary file, move), lets go and
//                                     says "saved", or why it failed
//   scmfix dependents NAME            what EnumDependentServicesA answers
//                                     with room for one record: result,
//                                     last error, bytes needed, count
//   scmfix dump-key NAME              the service's key and all below it,
//                                     one value a record, sorted
//   scmfix bulk-create PREFIX COUNT BINPATH | bulk-delete PREFIX COUNT
// Texts on the command line are taken as Unicode (the wide calls store
// dependency lists correctly); `list` prints the code page 932 bytes the
// ANSI calls give, fields separated by 0x1F and records ended by 0x1E.
#include <windows.h>
#include <tlhelp32.h>

#include <fcntl.h>
#include <io.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <cwchar>
#include <algorithm>
#include <string>
#include <vector>

namespace {

const char FIELD = '\x1f';
const char RECORD = '\x1e';

struct Scm {
    SC_HANDLE handle = OpenSCManagerW(nullptr, nullptr, SC_MANAGER_ALL_ACCESS);
    ~Scm() {
        if (handle) CloseServiceHandle(handle);
    }
};

struct Service {
    SC_HANDLE handle;
    Service(SC_HANDLE manager, const wchar_t* name, DWORD access)
        : handle(OpenServiceW(manager, name, access)) {}
    ~Service() {
        if (handle) CloseServiceHandle(handle);
    }
};

int fail(const char* what) {
    std::fprintf(stderr, "scmfix: %s failed (error %lu)\n", what, GetLastError());
    return 1;
}

void out(const std::string& bytes) { std::fwrite(bytes.data(), 1, bytes.size(), stdout); }

std::string text(const char* t) { return t ? t : ""; }

std::string description_of(const char* name) {
    std::string path = std::string("SYSTEM\\CurrentControlSet\\Services\\") + name;
    HKEY key;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, path.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS)
        return "\x02";  // the key cannot be opened
    DWORD size = 0;
    std::string value;
    if (RegQueryValueExA(key, "Description", nullptr, nullptr, nullptr, &size) == ERROR_SUCCESS &&
        size > 0) {
        value.assign(size, '\0');
        RegQueryValueExA(key, "Description", nullptr, nullptr,
                         reinterpret_cast<BYTE*>(&value[0]), &size);
        value.resize(value.find('\0') == std::string::npos ? size : value.find('\0'));
    }
    RegCloseKey(key);
    return value;
}

std::string config_fields(SC_HANDLE manager, const char* name) {
    SC_HANDLE service = OpenServiceA(manager, name, SERVICE_QUERY_CONFIG);
    std::string fields;
    DWORD needed = 0;
    QueryServiceConfigA(service, nullptr, 0, &needed);
    std::vector<char> buffer(needed + 1);
    auto* config = reinterpret_cast<QUERY_SERVICE_CONFIGA*>(buffer.data());
    if (service && QueryServiceConfigA(service, config, needed, &needed)) {
        fields = std::to_string(config->dwStartType) + FIELD + text(config->lpServiceStartName) +
                 FIELD + text(config->lpBinaryPathName);
    } else {
        fields = std::string("-") + FIELD + FIELD;
    }
    if (service) CloseServiceHandle(service);
    return fields;
}

int list(DWORD mask) {
    Scm scm;
    if (!scm.handle) return fail("OpenSCManager");
    DWORD needed = 0, count = 0, resume = 0;
    EnumServicesStatusA(scm.handle, mask, SERVICE_STATE_ALL, nullptr, 0, &needed, &count, &resume);
    std::vector<char> buffer(needed + 1);
    resume = 0;
    auto* records = reinterpret_cast<ENUM_SERVICE_STATUSA*>(buffer.data());
    if (!EnumServicesStatusA(scm.handle, mask, SERVICE_STATE_ALL, records, needed, &needed,
                             &count, &resume))
        return fail("EnumServicesStatusA");
    for (DWORD i = 0; i < count; ++i) {
        const ENUM_SERVICE_STATUSA& r = records[i];
        out(text(r.lpServiceName) + FIELD + text(r.lpDisplayName) + FIELD +
            std::to_string(r.ServiceStatus.dwServiceType) + FIELD +
            std::to_string(r.ServiceStatus.dwCurrentState) + FIELD +
            config_fields(scm.handle, r.lpServiceName) + FIELD + description_of(r.lpServiceName) +
            RECORD);
    }
    return 0;
}

int create(int argc, wchar_t** argv) {
    if (argc < 7) return fail("usage");
    Scm scm;
    std::wstring dependencies;
    for (int i = 8; i < argc; ++i) dependencies += std::wstring(argv[i]) + L'\0';
    dependencies += L'\0';
    const wchar_t* account = argc > 7 && wcscmp(argv[7], L"-") != 0 ? argv[7] : nullptr;
    SC_HANDLE service = CreateServiceW(
        scm.handle, argv[2], argv[3], SERVICE_ALL_ACCESS, wcstoul(argv[4], nullptr, 0),
        wcstoul(argv[5], nullptr, 0), SERVICE_ERROR_NORMAL, argv[6], nullptr, nullptr,
        argc > 8 ? dependencies.c_str() : nullptr, account, nullptr);
    if (!service) return fail("CreateServiceW");
    CloseServiceHandle(service);
    return 0;
}

int with_service(const wchar_t* name, DWORD access, BOOL (*action)(SC_HANDLE), const char* what) {
    Scm scm;
    Service service(scm.handle, name, access);
    if (!service.handle) return fail("OpenService");
    return action(service.handle) ? 0 : fail(what);
}

BOOL do_delete(SC_HANDLE s) { return DeleteService(s); }
// Wine's service manager loses a start request now and then when another
// service is being started at the same moment (error 1053); the service is
// then still stopped and a second request works.
BOOL do_start(SC_HANDLE s) {
    for (int attempt = 0; attempt < 5; ++attempt) {
        if (StartServiceW(s, 0, nullptr)) return TRUE;
        if (GetLastError() != ERROR_SERVICE_REQUEST_TIMEOUT) return FALSE;
    }
    return FALSE;
}
BOOL do_stop(SC_HANDLE s) {
    SERVICE_STATUS status;
    return ControlService(s, SERVICE_CONTROL_STOP, &status);
}

// The current state, or 0 when the service cannot be opened.
DWORD state_of(const wchar_t* name) {
    Scm scm;
    Service service(scm.handle, name, SERVICE_QUERY_STATUS);
    SERVICE_STATUS status{};
    if (!service.handle || !QueryServiceStatus(service.handle, &status)) return 0;
    return status.dwCurrentState;
}

int wait_state(const wchar_t* name, DWORD wanted, DWORD timeout_ms) {
    const DWORD start = GetTickCount();
    while (state_of(name) != wanted) {
        if (GetTickCount() - start > timeout_ms) return fail("wait-state");
        Sleep(20);
    }
    return 0;
}

int kill(const wchar_t* name) {
    Scm scm;
    Service service(scm.handle, name, SERVICE_QUERY_STATUS);
    SERVICE_STATUS_PROCESS status{};
    DWORD needed = 0;
    if (!service.handle ||
        !QueryServiceStatusEx(service.handle, SC_STATUS_PROCESS_INFO,
                              reinterpret_cast<BYTE*>(&status), sizeof status, &needed))
        return fail("QueryServiceStatusEx");
    if (status.dwProcessId == 0) return 0;
    HANDLE process = OpenProcess(PROCESS_TERMINATE, FALSE, status.dwProcessId);
    if (!process) return fail("OpenProcess");
    const BOOL ended = TerminateProcess(process, 1);
    CloseHandle(process);
    return ended ? 0 : fail("TerminateProcess");
}

int set_group(const wchar_t* name, const wchar_t* group) {
    Scm scm;
    Service service(scm.handle, name, SERVICE_CHANGE_CONFIG);
    if (!service.handle ||
        !ChangeServiceConfigW(service.handle, SERVICE_NO_CHANGE, SERVICE_NO_CHANGE,
                              SERVICE_NO_CHANGE, nullptr, group, nullptr, nullptr, nullptr,
                              nullptr, nullptr))
        return fail("ChangeServiceConfigW");
    return 0;
}

int describe(const wchar_t* name, const wchar_t* description) {
    std::wstring path = std::wstring(L"SYSTEM\\CurrentControlSet\\Services\\") + name;
    HKEY key;
    if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, path.c_str(), 0, KEY_SET_VALUE, &key) != ERROR_SUCCESS)
        return fail("RegOpenKeyExW");
    LONG result = RegSetValueExW(key, L"Description", 0, REG_SZ,
                                 reinterpret_cast<const BYTE*>(description),
                                 static_cast<DWORD>((wcslen(description) + 1) * sizeof(wchar_t)));
    RegCloseKey(key);
    return result == ERROR_SUCCESS ? 0 : fail("RegSetValueExW");
}

int set_error_control(const wchar_t* name, DWORD error_control) {
    Scm scm;
    Service service(scm.handle, name, SERVICE_CHANGE_CONFIG);
    if (!service.handle ||
        !ChangeServiceConfigW(service.handle, SERVICE_NO_CHANGE, SERVICE_NO_CHANGE, error_control,
                              nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr))
        return fail("ChangeServiceConfigW");
    return 0;
}

int describe2(const wchar_t* name, wchar_t* description) {
    Scm scm;
    Service service(scm.handle, name, SERVICE_CHANGE_CONFIG);
    SERVICE_DESCRIPTIONW info{description};
    if (!service.handle ||
        !ChangeServiceConfig2W(service.handle, SERVICE_CONFIG_DESCRIPTION, &info))
        return fail("ChangeServiceConfig2W");
    return 0;
}

int set_failure_actions(int argc, wchar_t** argv) {
    std::vector<SC_ACTION> actions;
    for (int i = 5; i + 1 < argc; i += 2)
        actions.push_back({static_cast<SC_ACTION_TYPE>(wcstoul(argv[i], nullptr, 0)),
                           static_cast<DWORD>(wcstoul(argv[i + 1], nullptr, 0))});
    Scm scm;
    Service service(scm.handle, argv[2], SERVICE_ALL_ACCESS);
    SERVICE_FAILURE_ACTIONSW info{};
    info.dwResetPeriod = wcstoul(argv[3], nullptr, 0);
    info.lpCommand = argv[4];
    info.cActions = static_cast<DWORD>(actions.size());
    info.lpsaActions = actions.data();
    if (!service.handle ||
        !ChangeServiceConfig2W(service.handle, SERVICE_CONFIG_FAILURE_ACTIONS, &info))
        return fail("ChangeServiceConfig2W");
    return 0;
}

// One ChangeServiceConfig2 level as bytes from the ANSI call; "-" when the
// query fails.
std::vector<char> config2(SC_HANDLE service, DWORD level) {
    DWORD needed = 0;
    QueryServiceConfig2A(service, level, nullptr, 0, &needed);
    std::vector<char> buffer(needed + 1);
    if (!QueryServiceConfig2A(service, level, reinterpret_cast<BYTE*>(buffer.data()), needed,
                              &needed))
        return {};
    return buffer;
}

std::string list_of(const char* multi) {
    std::string out;
    for (const char* p = multi; p && *p; p += std::strlen(p) + 1) out += std::string(p) + "|";
    return out;
}

int config(const wchar_t* name) {
    Scm scm;
    Service service(scm.handle, name, SERVICE_QUERY_CONFIG);
    DWORD needed = 0;
    QueryServiceConfigA(service.handle, nullptr, 0, &needed);
    std::vector<char> buffer(needed + 1);
    auto* c = reinterpret_cast<QUERY_SERVICE_CONFIGA*>(buffer.data());
    if (!service.handle || !QueryServiceConfigA(service.handle, c, needed, &needed))
        return fail("QueryServiceConfigA");
    out(std::to_string(c->dwServiceType) + FIELD + std::to_string(c->dwStartType) + FIELD +
        std::to_string(c->dwErrorControl) + FIELD + text(c->lpBinaryPathName) + FIELD +
        text(c->lpLoadOrderGroup) + FIELD + list_of(c->lpDependencies) + FIELD +
        text(c->lpServiceStartName) + FIELD + text(c->lpDisplayName) + FIELD);
    const std::vector<char> description = config2(service.handle, SERVICE_CONFIG_DESCRIPTION);
    out(description.empty()
            ? std::string("-")
            : text(reinterpret_cast<const SERVICE_DESCRIPTIONA*>(description.data())
                       ->lpDescription));
    out(std::string(1, FIELD));
    const std::vector<char> failure = config2(service.handle, SERVICE_CONFIG_FAILURE_ACTIONS);
    if (failure.empty()) {
        out("-");
    } else {
        const auto* f = reinterpret_cast<const SERVICE_FAILURE_ACTIONSA*>(failure.data());
        std::string actions = std::to_string(f->dwResetPeriod) + " " + text(f->lpCommand);
        for (DWORD i = 0; i < f->cActions; ++i)
            actions += " " + std::to_string(f->lpsaActions[i].Type) + "/" +
                       std::to_string(f->lpsaActions[i].Delay);
        out(actions);
    }
    out(std::string(1, RECORD));
    return 0;
}

void dump(HKEY root, const std::string& path, const std::string& relative,
          std::vector<std::string>& records) {
    HKEY key;
    if (RegOpenKeyExA(root, path.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS) return;
    char name[16384];
    std::vector<BYTE> data(1 << 20);
    for (DWORD i = 0;; ++i) {
        DWORD name_length = sizeof name, size = static_cast<DWORD>(data.size()), type = 0;
        if (RegEnumValueA(key, i, name, &name_length, nullptr, &type, data.data(), &size) !=
            ERROR_SUCCESS)
            break;
        std::string hex;
        for (DWORD b = 0; b < size; ++b) {
            char two[3];
            std::snprintf(two, sizeof two, "%02x", data[b]);
            hex += two;
        }
        records.push_back(relative + FIELD + std::string(name, name_length) + FIELD +
                          std::to_string(type) + FIELD + hex + RECORD);
    }
    std::vector<std::string> subkeys;
    for (DWORD i = 0;; ++i) {
        DWORD name_length = sizeof name;
        if (RegEnumKeyExA(key, i, name, &name_length, nullptr, nullptr, nullptr, nullptr) !=
            ERROR_SUCCESS)
            break;
        subkeys.emplace_back(name, name_length);
    }
    RegCloseKey(key);
    // A key without values still shows, so that empty subkeys are compared too.
    records.push_back(relative + FIELD + RECORD);
    for (const std::string& subkey : subkeys)
        dump(root, path + "\\" + subkey, relative + "\\" + subkey, records);
}

int dump_key(const wchar_t* name) {
    char narrow[1024];
    WideCharToMultiByte(CP_ACP, 0, name, -1, narrow, sizeof narrow, nullptr, nullptr);
    std::vector<std::string> records;
    dump(HKEY_LOCAL_MACHINE, std::string("SYSTEM\\CurrentControlSet\\Services\\") + narrow, "",
         records);
    std::sort(records.begin(), records.end());
    for (const std::string& record : records) out(record);
    return 0;
}

int hold(const wchar_t* name) {
    Scm scm;
    Service service(scm.handle, name, SERVICE_QUERY_STATUS);
    if (!service.handle) return fail("OpenService");
    std::printf("held\n");
    std::fflush(stdout);
    while (std::getchar() != EOF) {
    }
    return 0;
}

int hold_file(const wchar_t* path) {
    HANDLE file = CreateFileW(path, GENERIC_READ, 0, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return fail("CreateFileW");
    std::printf("held\n");
    std::fflush(stdout);
    while (std::getchar() != EOF) {
    }
    CloseHandle(file);
    return 0;
}

bool process_runs(const std::wstring& name) {
    HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
    if (snapshot == INVALID_HANDLE_VALUE) return false;
    PROCESSENTRY32W entry{};
    entry.dwSize = sizeof entry;
    bool found = false;
    for (BOOL more = Process32FirstW(snapshot, &entry); more && !found;
         more = Process32NextW(snapshot, &entry))
        found = _wcsicmp(entry.szExeFile, name.c_str()) == 0;
    CloseHandle(snapshot);
    return found;
}

// hung:CAPTION or process:NAME.
bool condition_holds(const std::wstring& when) {
    const std::wstring hung = L"hung:", process = L"process:";
    if (when.compare(0, hung.size(), hung) == 0) {
        HWND dialog = FindWindowW(L"#32770", when.substr(hung.size()).c_str());
        DWORD_PTR answer = 0;
        return dialog != nullptr &&
               !SendMessageTimeoutW(dialog, WM_NULL, 0, 0, SMTO_NORMAL, 300, &answer);
    }
    if (when.compare(0, process.size(), process) == 0)
        return process_runs(when.substr(process.size()));
    return false;
}

bool failed(const char* what) {
    fail(what);
    return false;
}

// The save of another copy, step for step as the program makes it.
bool save_with_line(const std::wstring& history, const std::string& line) {
    std::string content;
    HANDLE file = CreateFileW(history.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file != INVALID_HANDLE_VALUE) {
        content.resize(GetFileSize(file, nullptr));
        DWORD got = 0;
        const BOOL read = content.empty() ||
                          ReadFile(file, &content[0], static_cast<DWORD>(content.size()), &got,
                                   nullptr);
        CloseHandle(file);
        if (!read || got != content.size()) return failed("ReadFile");
    } else if (GetLastError() != ERROR_FILE_NOT_FOUND) {
        return failed("CreateFileW (read)");
    }
    content += line + "\r\n";
    const std::wstring temporary = history + L".tmp";
    file = CreateFileW(temporary.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                       FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return failed("CreateFileW (temporary)");
    DWORD put = 0;
    const BOOL written = WriteFile(file, content.data(), static_cast<DWORD>(content.size()), &put,
                                   nullptr) &&
                         FlushFileBuffers(file);
    CloseHandle(file);
    if (!written) return failed("WriteFile");
    if (!MoveFileExW(temporary.c_str(), history.c_str(),
                     MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
        return failed("MoveFileExW");
    return true;
}

int hold_lock(const wchar_t* history, const wchar_t* when, const wchar_t* line) {
    const std::wstring lock_path = std::wstring(history) + L".lock";
    HANDLE lock = CreateFileW(lock_path.c_str(), GENERIC_WRITE | DELETE, 0, nullptr, OPEN_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL | FILE_FLAG_DELETE_ON_CLOSE, nullptr);
    if (lock == INVALID_HANDLE_VALUE) return fail("CreateFileW (lock)");
    std::printf("held\n");
    std::fflush(stdout);
    const DWORD started = GetTickCount();
    while (!condition_holds(when)) {
        if (GetTickCount() - started > 60000) return fail("waiting for the condition");
        Sleep(10);
    }
    char bytes[4096] = {};
    WideCharToMultiByte(CP_ACP, 0, line, -1, bytes, sizeof bytes, nullptr, nullptr);
    if (!save_with_line(history, bytes)) return 1;
    CloseHandle(lock);
    std::printf("saved\n");
    std::fflush(stdout);
    return 0;
}

int dependents(const wchar_t* name) {
    Scm scm;
    Service service(scm.handle, name, SERVICE_ENUMERATE_DEPENDENTS);
    if (!service.handle) return fail("OpenService");
    ENUM_SERVICE_STATUSA one{};
    DWORD needed = 0xDEADBEEF, count = 0xDEADBEEF;
    SetLastError(0xBEEF);
    const BOOL result =
        EnumDependentServicesA(service.handle, SERVICE_STATE_ALL, &one, sizeof one, &needed, &count);
    std::printf("%d %lu %lu %lu\n", result, GetLastError(), needed, count);
    return 0;
}

int bulk(bool make, const wchar_t* prefix, int count, const wchar_t* path) {
    Scm scm;
    for (int i = 0; i < count; ++i) {
        wchar_t name[128];
        swprintf(name, 128, L"%ls%05d", prefix, i);
        if (make) {
            SC_HANDLE s = CreateServiceW(scm.handle, name, name, SERVICE_ALL_ACCESS,
                                         SERVICE_WIN32_OWN_PROCESS, SERVICE_DEMAND_START,
                                         SERVICE_ERROR_NORMAL, path, nullptr, nullptr, nullptr,
                                         nullptr, nullptr);
            if (!s && GetLastError() == ERROR_SERVICE_EXISTS) continue;
            if (!s) return fail("CreateServiceW");
            CloseServiceHandle(s);
        } else {
            Service s(scm.handle, name, DELETE);
            if (s.handle) DeleteService(s.handle);
        }
    }
    return 0;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    _setmode(_fileno(stdout), _O_BINARY);
    if (argc < 2) return fail("usage");
    const std::wstring verb = argv[1];
    if (verb == L"list" && argc == 3) return list(wcstoul(argv[2], nullptr, 0));
    if (verb == L"create") return create(argc, argv);
    if (argc < 3) return fail("usage");
    if (verb == L"delete") return with_service(argv[2], DELETE, do_delete, "DeleteService");
    if (verb == L"start") return with_service(argv[2], SERVICE_START, do_start, "StartService");
    if (verb == L"stop") return with_service(argv[2], SERVICE_STOP, do_stop, "ControlService");
    if (verb == L"state") {
        std::printf("%lu\n", state_of(argv[2]));
        return 0;
    }
    if (verb == L"wait-state" && argc == 5)
        return wait_state(argv[2], wcstoul(argv[3], nullptr, 0), wcstoul(argv[4], nullptr, 0));
    if (verb == L"kill") return kill(argv[2]);
    if (verb == L"set-group" && argc == 4) return set_group(argv[2], argv[3]);
    if (verb == L"describe" && argc == 4) return describe(argv[2], argv[3]);
    if (verb == L"describe2" && argc == 4) return describe2(argv[2], argv[3]);
    if (verb == L"set-error-control" && argc == 4)
        return set_error_control(argv[2], wcstoul(argv[3], nullptr, 0));
    if (verb == L"set-failure-actions" && argc >= 5) return set_failure_actions(argc, argv);
    if (verb == L"config") return config(argv[2]);
    if (verb == L"dump-key") return dump_key(argv[2]);
    if (verb == L"hold") return hold(argv[2]);
    if (verb == L"hold-file") return hold_file(argv[2]);
    if (verb == L"hold-lock" && argc == 5) return hold_lock(argv[2], argv[3], argv[4]);
    if (verb == L"dependents") return dependents(argv[2]);
    if (verb == L"bulk-create" && argc == 5) return bulk(true, argv[2], _wtoi(argv[3]), argv[4]);
    if (verb == L"bulk-delete" && argc == 4) return bulk(false, argv[2], _wtoi(argv[3]), nullptr);
    return fail("usage");
}
