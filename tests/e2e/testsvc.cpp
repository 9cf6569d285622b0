// A service program for the end-to-end tests. How it behaves comes from the
// arguments of its command line (the service's binary path):
//   testsvc.exe quick          stops at once when asked
//   testsvc.exe slow MS        reports stop pending, stops MS milliseconds later
//   testsvc.exe never          reports stop pending and never stops
//   testsvc.exe refuse         does not accept the stop request
//   testsvc.exe slowstart MS   stays start pending for MS milliseconds first
// Every service of the process runs on its own; they share one behaviour.
#include <windows.h>

#include <cstdlib>
#include <cwchar>

namespace {

enum class Mode { quick, slow, never, refuse, slowstart };

Mode mode = Mode::quick;
DWORD delay_ms = 0;
SERVICE_STATUS_HANDLE status_handle;
SERVICE_STATUS status;
HANDLE stop_event;

void report(DWORD state) {
    status.dwServiceType = SERVICE_WIN32_OWN_PROCESS;
    status.dwCurrentState = state;
    status.dwControlsAccepted =
        (state == SERVICE_RUNNING && mode != Mode::refuse) ? SERVICE_ACCEPT_STOP : 0;
    status.dwWaitHint = state == SERVICE_RUNNING || state == SERVICE_STOPPED ? 0 : 60000;
    ++status.dwCheckPoint;
    SetServiceStatus(status_handle, &status);
}

DWORD WINAPI handler(DWORD control, DWORD, void*, void*) {
    if (control != SERVICE_CONTROL_STOP) return NO_ERROR;
    if (mode == Mode::refuse) return ERROR_INVALID_SERVICE_CONTROL;
    report(SERVICE_STOP_PENDING);
    if (mode != Mode::never) SetEvent(stop_event);
    return NO_ERROR;
}

void WINAPI service_main(DWORD argc, wchar_t** argv) {
    status_handle = RegisterServiceCtrlHandlerExW(argc > 0 ? argv[0] : L"", handler, nullptr);
    stop_event = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    if (mode == Mode::slowstart) {
        report(SERVICE_START_PENDING);
        Sleep(delay_ms);
    }
    report(SERVICE_RUNNING);
    WaitForSingleObject(stop_event, INFINITE);
    if (mode == Mode::slow) Sleep(delay_ms);
    report(SERVICE_STOPPED);
}

void read_mode() {
    int argc = 0;
    wchar_t** argv = CommandLineToArgvW(GetCommandLineW(), &argc);
    if (argv == nullptr || argc < 2) return;
    const wchar_t* name = argv[1];
    if (wcscmp(name, L"slow") == 0) mode = Mode::slow;
    else if (wcscmp(name, L"never") == 0) mode = Mode::never;
    else if (wcscmp(name, L"refuse") == 0) mode = Mode::refuse;
    else if (wcscmp(name, L"slowstart") == 0) mode = Mode::slowstart;
    if (argc >= 3) delay_ms = static_cast<DWORD>(wcstoul(argv[2], nullptr, 10));
}

}  // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, wchar_t*, int) {
    read_mode();
    wchar_t any_name[] = L"";
    SERVICE_TABLE_ENTRYW table[] = {{any_name, service_main}, {nullptr, nullptr}};
    return StartServiceCtrlDispatcherW(table) ? 0 : 1;
}
