#include "referral.h"

#include "platform/platform.h"
#include "site_address.h"

#include <QUrl>

namespace quendril::site {

namespace {

// The characters a query value may carry as they are: the unreserved ones
// and those that cannot be taken for a separator of the query.
const QByteArray kKeptInValues = QByteArrayLiteral("/:@");

QString encodedValue(const QString &value)
{
    return QString::fromLatin1(QUrl::toPercentEncoding(value, kKeptInValues));
}

void showStop(platform::Platform &platform, QWidget *owner, const QString &text)
{
    platform.showMessage(owner, text, platform::Platform::MessageIcon::Stop);
}

bool isEmptyOr(const QString &field, QStringView placeholder)
{
    return field.isEmpty() || field == placeholder;
}

} // namespace

QString trimSpaces(QStringView text)
{
    qsizetype begin = 0;
    qsizetype end = text.size();
    while (begin < end && text[begin] == u' ')
        ++begin;
    while (end > begin && text[end - 1] == u' ')
        --end;
    return text.mid(begin, end - begin).toString();
}

QString buildReferralAddress(const TellAFriend &fields)
{
    return SitePageAddress(page::referAFriend) + QStringLiteral("&taf1=") + encodedValue(fields.ReferrerName)
        + QStringLiteral("&taf2=") + encodedValue(fields.ReferrerEmail) + QStringLiteral("&taf3=")
        + encodedValue(fields.ReferralMessage) + QStringLiteral("&taf4=") + encodedValue(fields.FriendName)
        + QStringLiteral("&taf5=") + encodedValue(fields.FriendEmail) + QStringLiteral("&taf6=")
        + encodedValue(SiteBaseAddress());
}

QString emailAddressProblem(const QString &yours, const QString &friends)
{
    if (yours == friends)
        return QStringLiteral("Please Enter Distinct Email Addresses");
    if (!yours.contains(u'@') || !friends.contains(u'@'))
        return QStringLiteral("Please Enter Proper Email Address");
    if (!yours.contains(u'.') || !friends.contains(u'.'))
        return QStringLiteral("Please Enter Proper Email Address");
    return {};
}

void SubmitReferral(TellAFriend &fields, platform::Platform &platform, QWidget *owner)
{
    if (isEmptyOr(fields.ReferrerName, placeholder::name)) {
        showStop(platform, owner, QStringLiteral("Please Enter Your Name"));
        return;
    }
    if (isEmptyOr(fields.ReferralMessage, placeholder::message)) {
        showStop(platform, owner, QStringLiteral("Please Enter Your Message"));
        return;
    }
    if (isEmptyOr(fields.FriendName, placeholder::friendName)) {
        showStop(platform, owner, QStringLiteral("Please Enter Your Friend's Name"));
        return;
    }
    fields.ReferralAddress = buildReferralAddress(fields);
    OpenReferralPage(fields, platform);
}

void OpenReferralPage(const TellAFriend &fields, platform::Platform &platform)
{
    platform.shellOpen(fields.ReferralAddress);
}

} // namespace quendril::site
