#pragma once
// The one place where a test replaces the operating-system services. The
// shipped programs leave it empty and so use RealPlatform(); the setter and
// the test doubles live in the test-support library (platform/testing/),
// which no shipped program links.

namespace tavo::platform {

class Platform;

namespace replaced {
inline Platform* platform = nullptr;
}  // namespace replaced

}  // namespace tavo::platform
