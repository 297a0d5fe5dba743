#include "MacPlatform.h"

#include "Platform/MacOS/MacBundles.h"
#include "Platform/MacOS/MacKeyboardTap.h"
#include "Platform/MacOS/MacSpaceSwitcher.h"
#include "Platform/MacOS/MacSystemCalls.h"
#include "Platform/MacOS/MacWindowOperations.h"
#include "Platform/MacOS/MacWindowServer.h"
#include "Platform/MacOS/MacWords.h"
#include "Platform/MacOS/MacWorkspace.h"
#include "Platform/MacOS/SparkleUpdater.h"
#include "Platform/PlatformWords.h"
#include "Platform/SystemTime.h"

MacPlatform::MacPlatform()
    : time_(std::make_unique<SystemTime>()), system_(std::make_unique<MacSystemCalls>()),
      windowServer_(std::make_unique<MacWindowServer>(*system_)),
      spaceSwitcher_(std::make_unique<MacSpaceSwitcher>(*system_, *time_)),
      windowOperations_(std::make_unique<MacWindowOperations>(*system_)),
      keyboardTap_(std::make_unique<MacKeyboardTap>()), bundles_(std::make_unique<MacBundles>()),
      workspace_(std::make_unique<MacWorkspace>()), updater_(std::make_unique<SparkleUpdater>()) {}

MacPlatform::~MacPlatform() = default;

TimePort& MacPlatform::time() { return *time_; }
WindowServerPort& MacPlatform::windowServer() { return *windowServer_; }
SpaceSwitcherPort& MacPlatform::spaceSwitcher() { return *spaceSwitcher_; }
WindowOperationsPort& MacPlatform::windowOperations() { return *windowOperations_; }
KeyboardTapPort& MacPlatform::keyboardTap() { return *keyboardTap_; }
BundlePort& MacPlatform::bundles() { return *bundles_; }
WorkspacePort& MacPlatform::workspace() { return *workspace_; }
UpdaterPort& MacPlatform::updater() { return *updater_; }

const PlatformWords& MacPlatform::words() {
    static const PlatformWords words = MacWords::words();
    return words;
}
