#pragma once

#include "Platform/BundlePort.h"

#include <QVariantMap>

/// What an application bundle says about itself, read from its information dictionaries.
namespace BundleDictionary {

/// The bundle's identifier, its names (the localised dictionary's before the plain one's,
/// the display name before the short name in each) and whether it is an agent.
BundleInfo toBundleInfo(const QVariantMap& info, const QVariantMap& localizedInfo);

} // namespace BundleDictionary
