#pragma once

namespace quendril::platform {
class Platform;
}
namespace quendril::settings {
class SettingsStore;
}

namespace quendril::site {

class SiteLinks;

// Once more than 14 days lie between today and the stored date, asks whether
// to look for an update, stores today and, on Yes, opens the download page.
// The first run only stores today. A stored text that is no date, or a store
// that refuses the write, ends it quietly.
void RemindToCheckForUpdate(platform::Platform &platform, const settings::SettingsStore &store, const SiteLinks &links);

} // namespace quendril::site
