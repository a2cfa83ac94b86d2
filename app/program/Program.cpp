// The program entry. With arguments it is a command-line dictionary and
// never touches the window system; without, it opens the window system on
// the desktop, sets the application's title and icon, creates the main window
// and the hidden about window, and runs the message loop until the main
// window has closed.

#include <cstdio>
#include <exception>
#include <memory>
#include <optional>

#include "About.h"
#include "AppPaths.h"
#include "CommandLine.h"
#include "Exceptions.h"
#include "Forms.h"
#include "DesktopBackend.h"
#include "WindowSystem.h"
#include "HotkeySetting.h"
#include "InstanceChannel.h"
#include "LookUpAnywhere.h"
#include "WindowRequest.h"
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

int main(int argc, char** argv) {
    const std::optional<WindowRequest> request = WindowRequestFromArgs(argc, argv);
    if (!request) return CommandLineMain(argc, argv);
    // One window per user and display: a window running already takes the
    // request, and this start ends.
    const std::optional<InstancePaths> instancePaths = InstancePathsHere();
    std::unique_ptr<InstanceServer> instanceServer;
    if (instancePaths) {
        instanceServer = InstanceServer::Claim(*instancePaths);
        if (!instanceServer &&
            HandToRunningInstance(*instancePaths, EncodeWindowRequest(*request), 3000) == HandOver::Delivered)
            return 0;
    }

    std::unique_ptr<Backend> backend;
    try {
        backend = OpenDesktopBackend();
    } catch (const std::exception& e) {
        // Started from a console or an ssh session without X forwarding:
        // say what is missing instead of running on unseen.
        std::fprintf(stderr,
                     "mirvodict: cannot open the display (%s).\n"
                     "Start it on an X11 desktop, or set DISPLAY to a reachable X display (for example DISPLAY=:0).\n"
                     "To look a word up without a window: mirvodict --lookup WORD\n",
                     e.what());
        return 1;
    }
    WindowSystemSession windowSystem(std::move(backend));
    {
        ApplicationSession session;
        Application->SetTitle(MainWindowTitle);
        LoadProgramIcon();
        auto* mainForm = Application->CreateForm<TFrmMain>();
        FrmAbout = Application->CreateForm<TFrmAbout>();
        LookUpAnywhere anywhere(*mainForm, std::move(instanceServer), HotkeySetting(UserSettingsFile()));
        if (request->What != WindowRequest::Kind::Show) anywhere.PostRequest(*request);
        Application->Run();
    }
    // The unit state lives for the whole run and is released at its end.
    WordTable.Clear();
    AppDir.clear();
    return 0;
}
