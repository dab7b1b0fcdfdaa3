#include "platform/ui/ui_state.h"

#include "platform/win/last_error.h"

UiState& TheUiState() {
    static UiState* state = new UiState;  // outlives static destructors
    return *state;
}

UiBackend& CurrentUiBackend() {
    UiState& state = TheUiState();
    if (!state.backend) state.backend = CreateStartBackend(state.onScreenFactory);
    return *state.backend;
}

UiBackend* ChosenUiBackend() {
    return TheUiState().backend.get();
}

std::unique_ptr<UiBackend> InstallUiBackend(std::unique_ptr<UiBackend> backend) {
    std::unique_ptr<UiBackend> previous = std::move(TheUiState().backend);
    TheUiState().backend = std::move(backend);
    return previous;
}

void SetOnScreenBackendFactory(OnScreenBackendFactory factory) {
    TheUiState().onScreenFactory = factory;
}

WindowRecord* FindWindowRecord(HWND window) {
    UiState& state = TheUiState();
    auto found = state.windows.find(reinterpret_cast<ULONG_PTR>(window));
    if (found == state.windows.end()) {
        SetLastError(ERROR_INVALID_WINDOW_HANDLE);
        return nullptr;
    }
    return found->second.get();
}

WindowRecord* CreateWindowRecord() {
    UiState& state = TheUiState();
    const ULONG_PTR number = state.nextWindow;
    state.nextWindow += 4;  // handles are never reused
    auto record = std::make_unique<WindowRecord>();
    record->handle = reinterpret_cast<HWND>(number);
    WindowRecord* created = record.get();
    state.windows.emplace(number, std::move(record));
    return created;
}

void RemoveWindowRecord(HWND window) {
    UiState& state = TheUiState();
    state.windows.erase(reinterpret_cast<ULONG_PTR>(window));
    if (state.activeWindow == window) state.activeWindow = nullptr;
    if (state.focus == window) state.focus = nullptr;
}

void NotifyWindowChanged(HWND window) {
    if (UiBackend* backend = ChosenUiBackend()) backend->WindowChanged(window);
}
