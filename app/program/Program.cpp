// The program entry: the window system on the desktop, the application with
// its title, the main window, and the message loop until the main window
// has closed.

#include <cstdio>
#include <exception>
#include <memory>

#include "AppPaths.h"
#include "Forms.h"
#include "SdlBackend.h"
#include "WindowSystem.h"
#include "WordTable.h"
#include "main.h"

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
        Application->CreateForm<TFrmMain>();
        Application->Run();
    }
    // The unit state lives for the whole run and is released at its end.
    WordTable.Clear();
    AppDir.clear();
    return 0;
}
