// Any five field texts through the refer-a-friend address.
#include "fuzz_support.h"
#include "support/referral_query.h"
#include "site/referral.h"
#include "site/site_address.h"

#include <fuzzer/FuzzedDataProvider.h>

namespace site = quendril::site;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    FuzzedDataProvider input(data, size);
    const quendril::fuzz::TextKind kind = quendril::fuzz::textKind(input.ConsumeIntegral<std::uint8_t>());
    const auto field = [&] {
        const std::string bytes = input.ConsumeRandomLengthString(size);
        return quendril::fuzz::textFromBytes(kind, reinterpret_cast<const std::uint8_t *>(bytes.data()), bytes.size());
    };
    site::TellAFriend fields;
    fields.ReferrerName = field();
    fields.ReferrerEmail = field();
    fields.ReferralMessage = field();
    fields.FriendName = field();
    fields.FriendEmail = field();

    const QString address = site::buildReferralAddress(fields);
    FUZZ_CHECK(address.startsWith(site::SitePageAddress(site::page::referAFriend) + u'&'));
    const auto parameters = quendril::check::queryParameters(address);
    FUZZ_CHECK(parameters);
    FUZZ_CHECK(parameters->size() == 7);
    const QString expected[7][2] = {
        { QStringLiteral("page"), site::page::referAFriend.toString() },
        { QStringLiteral("taf1"), quendril::check::afterUtf8(fields.ReferrerName) },
        { QStringLiteral("taf2"), quendril::check::afterUtf8(fields.ReferrerEmail) },
        { QStringLiteral("taf3"), quendril::check::afterUtf8(fields.ReferralMessage) },
        { QStringLiteral("taf4"), quendril::check::afterUtf8(fields.FriendName) },
        { QStringLiteral("taf5"), quendril::check::afterUtf8(fields.FriendEmail) },
        { QStringLiteral("taf6"), site::SiteBaseAddress() },
    };
    for (qsizetype i = 0; i < 7; ++i) {
        FUZZ_CHECK(parameters->at(i).name == expected[i][0]);
        FUZZ_CHECK(parameters->at(i).value == expected[i][1]);
    }
    // A field of well-formed text arrives exactly as typed.
    if (fields.ReferrerName.isValidUtf16())
        FUZZ_CHECK(parameters->at(1).value == fields.ReferrerName);
    return 0;
}
