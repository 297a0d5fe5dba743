#include "App/LinuxPlatformChoice.h"

#include "Platform/Linux/LinuxSession.h"
#include "Platform/Wayland/SwayPlatform.h"
#include "Platform/Wayland/WlrPlatform.h"
#include "Platform/Wayland/WlrToplevels.h"
#include "Platform/X11/X11Platform.h"

#include <cstdio>

std::unique_ptr<Platform> LinuxPlatformChoice::create(QString* whyNot) {
    const LinuxSession session = LinuxSession::current();
    std::unique_ptr<SwayPlatform> sway;
    QString swayWhyNot;
    const LinuxSession::Kind kind = session.kind([&] {
        sway = SwayPlatform::create(&swayWhyNot);
        return sway != nullptr;
    }, [] { return WlrToplevels::isOffered(); });
    switch (kind) {
    case LinuxSession::Kind::sway:
        return sway;
    case LinuxSession::Kind::wlroots:
        if (auto wlr = WlrPlatform::create(whyNot)) return wlr;
        std::fprintf(stderr, "Kestavon: %s\n", qUtf8Printable(*whyNot));
        return X11Platform::create(true, whyNot);
    case LinuxSession::Kind::unservedWayland:
        // A named sway socket that does not answer is worth a word: it is why sway is not used.
        if (!swayWhyNot.isEmpty()) std::fprintf(stderr, "Kestavon: %s\n", qUtf8Printable(swayWhyNot));
        return X11Platform::create(true, whyNot);
    case LinuxSession::Kind::x11:
        return X11Platform::create(false, whyNot);
    case LinuxSession::Kind::none:
        break;
    }
    *whyNot = QStringLiteral("No display to run on: neither DISPLAY nor WAYLAND_DISPLAY is set.");
    return nullptr;
}
