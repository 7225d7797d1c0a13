#include "hosts/win32/win32_api.h"

#include "app/corvane_app.h"
#include "hosts/host_platform.h"
#include "hosts/win32/win32_front_end.h"

using namespace corvane;

namespace {

// The caption for a failure before the platform exists: the executable's base name.
std::string ModuleBaseName() {
    char path[MAX_PATH] = {};
    const DWORD length = ::GetModuleFileNameA(nullptr, path, MAX_PATH);
    return AppNameFromPath(std::string(path, length < MAX_PATH ? length : 0));
}

} // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
    INITCOMMONCONTROLSEX controls{};
    controls.dwSize = sizeof controls;
    controls.dwICC = ICC_WIN95_CLASSES;
    static_assert(sizeof(INITCOMMONCONTROLSEX) == 8 && ICC_WIN95_CLASSES == 0xFF);
    ::InitCommonControlsEx(&controls);

    HostPlatform front = MakeHostPlatform();
    if (!front.platform) {
        ::MessageBoxA(nullptr, front.error.c_str(), ModuleBaseName().c_str(), MB_ICONERROR);
        return 1;
    }
    const std::string appName = AppNameFromPath(front.platform->system->ExecutablePath());
    win32::Win32FrontEnd frontEnd(instance, appName, front.simulated);
    CCorvaneApp app(*front.platform, appName);
    app.InitInstance(frontEnd);
    return 0;
}
