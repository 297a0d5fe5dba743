#include "X11SkyLight.h"

#include "Platform/X11/X11SkyLightLibrary.h"

std::shared_ptr<SkyLightLibrary> X11SkyLight::open(const QString&, int) {
    return std::make_shared<X11SkyLightLibrary>(connection_, displays_);
}
