// The program entry: the window system on the desktop, the application with
// its title and icon, the main window, and the message loop until the main window
// has closed.

#include <cstdio>
#include <exception>
#include <memory>

#include "AppPaths.h"
#include "Exceptions.h"
#include "Forms.h"
#include "SdlBackend.h"
#include "WindowSystem.h"
#include "WordTable.h"
#include "main.h"

namespace {
// The program's own icon, which the desktop shows for its windows; the
// standard application icon when the file is missing or damaged.
void LoadProgramIcon() {
    InitAppDir();
    try {
        Application->Icon().LoadFromFile(AppDir + "dat/icons/mirvodict.ico");
    } catch (const Exception&) {
        Application->Icon().SetHandle(CopyImage(LoadIcon(nullptr, IDI_APPLICATION), IMAGE_ICON, 0, 0, 0));
    }
}
}  // namespace

int main() {
    std::unique_ptr<Backend> backend;
    try {
        backend = std::make_unique<SdlBackend>();
    } catch (const std::exception& e) {
        std::fprintf(stderr, "mirvodict: no display to open the window on: %s\n", e.what());
        return 1;
    }
    WindowSystemSession windowSystem(std::move(backend));
    {
        ApplicationSession session;
        Application->SetTitle(MainWindowTitle);
        LoadProgramIcon();
        Application->CreateForm<TFrmMain>();
        Application->Run();
    }
    // The unit state lives for the whole run and is released at its end.
    WordTable.Clear();
    AppDir.clear();
    return 0;
}
