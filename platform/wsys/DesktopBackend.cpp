#include "DesktopBackend.h"

#include <cstdlib>
#include <string_view>

#include "SdlBackend.h"
#include "X11Backend.h"

std::unique_ptr<Backend> OpenDesktopBackend() {
    const char* choice = std::getenv("MIRVO_BACKEND");
    if (choice && std::string_view(choice) == "sdl") return std::make_unique<SdlBackend>();
    return std::make_unique<X11Backend>();
}
