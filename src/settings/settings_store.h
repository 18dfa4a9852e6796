#pragma once

#include <QString>
#include <QStringView>

namespace quendril::platform {
class Platform;
}

namespace quendril::settings {

// The fixed shift that scrambles stored keys and values. With 3, the key
// "Duration" stays a word of letters and a date made of digits and the usual
// separators never turns into a character the store treats specially.
inline constexpr int SettingShift = 3;

// Character by character through Latin-1: each code moves up by the shift;
// a character that would leave the 8-bit range is dropped.
QString EncodeSetting(QStringView text);
// The reverse: each code moves down; a character that would go below 0 is dropped.
QString DecodeSetting(QStringView text);

// Text settings in the per-user store, under the executable's base name and
// the section "Settings", with key and value scrambled.
class SettingsStore {
public:
    explicit SettingsStore(platform::Platform &platform)
        : m_platform(platform)
    {
    }

    // A missing entry, or a store that cannot be read, gives the empty text.
    QString ReadSetting(const QString &key) const;
    // False when the store refused the write.
    bool WriteSetting(const QString &key, const QString &value) const;

private:
    platform::Platform &m_platform;
};

} // namespace quendril::settings
