#include "settings_store.h"

#include "platform/platform.h"

namespace quendril::settings {

namespace {

const QString kSection = QStringLiteral("Settings");

QString shiftLatin1(QStringView text, int shift)
{
    const QByteArray codes = text.toLatin1();
    QByteArray shifted;
    shifted.reserve(codes.size());
    for (const char c : codes) {
        const int code = static_cast<unsigned char>(c) + shift;
        if (code >= 0 && code <= 255)
            shifted.append(static_cast<char>(code));
    }
    return QString::fromLatin1(shifted);
}

} // namespace

QString EncodeSetting(QStringView text)
{
    return shiftLatin1(text, SettingShift);
}

QString DecodeSetting(QStringView text)
{
    return shiftLatin1(text, -SettingShift);
}

QString SettingsStore::ReadSetting(const QString &key) const
{
    const auto stored = m_platform.readStoreValue(m_platform.executableBaseName(), kSection, EncodeSetting(key));
    return stored ? DecodeSetting(*stored) : QString();
}

bool SettingsStore::WriteSetting(const QString &key, const QString &value) const
{
    return m_platform.writeStoreValue(
        m_platform.executableBaseName(), kSection, EncodeSetting(key), EncodeSetting(value));
}

} // namespace quendril::settings
