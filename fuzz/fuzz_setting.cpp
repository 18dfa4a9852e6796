// Any text through the scrambling of stored settings.
#include "fuzz_support.h"
#include "settings/settings_store.h"

namespace settings = quendril::settings;

namespace {

// The 8-bit code the store sees for a character: Latin-1, or a question mark.
int codeOf(QChar c)
{
    return c.unicode() <= 0xff ? c.unicode() : '?';
}

bool allLatin1(const QString &text)
{
    for (const QChar c : text) {
        if (c.unicode() > 0xff)
            return false;
    }
    return true;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const QString text = quendril::fuzz::textFromBytes(data, size);
    const QString encoded = settings::EncodeSetting(text);
    const QString decoded = settings::DecodeSetting(text);
    FUZZ_CHECK(allLatin1(encoded) && allLatin1(decoded));

    QString kept; // what survives scrambling and unscrambling
    qsizetype keptUp = 0, keptDown = 0;
    for (const QChar c : text) {
        const int code = codeOf(c);
        if (code + settings::SettingShift <= 255) {
            kept.append(QChar(code));
            ++keptUp;
        }
        if (code - settings::SettingShift >= 0)
            ++keptDown;
    }
    FUZZ_CHECK(encoded.size() == keptUp);
    FUZZ_CHECK(decoded.size() == keptDown);
    FUZZ_CHECK(settings::DecodeSetting(encoded) == kept);

    // Within range both directions undo each other exactly.
    if (allLatin1(text) && keptUp == text.size())
        FUZZ_CHECK(settings::DecodeSetting(encoded) == text);
    if (allLatin1(text) && keptDown == text.size())
        FUZZ_CHECK(settings::EncodeSetting(decoded) == text);
    return 0;
}
