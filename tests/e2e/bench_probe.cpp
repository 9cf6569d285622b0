// Benchmark probe: the bare Service Control Manager calls of one table
// refresh as it was first built, with no window, written out call by call
// (per service: open, a sizing and a fetching configuration call, close).
// The reference the program's refresh is measured against. Prints the
// number of services and the milliseconds the calls took.
//   bench_probe [SHOW_ALL=0] [READ_DESCRIPTIONS=0]
#include <windows.h>

#include <cstdio>
#include <cstdlib>

int main(int argc, char** argv) {
    const DWORD mask = argc > 1 && std::atoi(argv[1]) ? 0x3B : 0x30;
    const bool descriptions = argc > 2 && std::atoi(argv[2]);
    LARGE_INTEGER frequency, start, end;
    QueryPerformanceFrequency(&frequency);
    QueryPerformanceCounter(&start);

    SC_HANDLE manager = OpenSCManagerA(nullptr, nullptr, SC_MANAGER_ALL_ACCESS);
    DWORD needed = 0, count = 0, resume = 0;
    EnumServicesStatusA(manager, mask, SERVICE_STATE_ALL, nullptr, 0, &needed, &count, &resume);
    auto* records = static_cast<ENUM_SERVICE_STATUSA*>(LocalAlloc(LPTR, needed));
    resume = 0;
    EnumServicesStatusA(manager, mask, SERVICE_STATE_ALL, records, needed, &needed, &count, &resume);
    for (DWORD i = 0; i < count; ++i) {
        SC_HANDLE service = OpenServiceA(manager, records[i].lpServiceName, SERVICE_QUERY_CONFIG);
        DWORD size = 0;
        QueryServiceConfigA(service, nullptr, 0, &size);
        void* config = LocalAlloc(LPTR, size);
        QueryServiceConfigA(service, static_cast<QUERY_SERVICE_CONFIGA*>(config), size, &size);
        if (descriptions) {
            char path[260], text[260];
            snprintf(path, sizeof path, "SYSTEM\\CurrentControlSet\\Services\\%s",
                     records[i].lpServiceName);
            HKEY key;
            if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, path, 0, KEY_READ, &key) == ERROR_SUCCESS) {
                DWORD type = REG_SZ, length = sizeof text;
                RegQueryValueExA(key, "Description", nullptr, &type,
                                 reinterpret_cast<BYTE*>(text), &length);
                RegCloseKey(key);
            }
        }
        LocalFree(config);
        CloseServiceHandle(service);
    }
    LocalFree(records);
    CloseServiceHandle(manager);

    QueryPerformanceCounter(&end);
    const double ms = 1000.0 * (end.QuadPart - start.QuadPart) / frequency.QuadPart;
    std::printf("%lu %.1f\n", count, ms);
    return 0;
}
