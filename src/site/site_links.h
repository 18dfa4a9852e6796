#pragma once

namespace quendril::platform {
class Platform;
}

namespace quendril::site {

// The page openers: each hands one fixed page address to the browser and
// never reports a failure to its caller.
class SiteLinks {
public:
    explicit SiteLinks(platform::Platform &platform)
        : m_platform(platform)
    {
    }

    void OpenHelpPage() const;
    void OpenHomePage() const;
    void OpenDownloadPage() const;
    void OpenDonatePage() const;
    void OpenFullyBrandedPage() const;
    void OpenCoBrandPage() const;
    void OpenSoftwaresPage() const;

private:
    platform::Platform &m_platform;
};

} // namespace quendril::site
