#pragma once

#include <QString>
#include <QStringView>

class QWidget;

namespace quendril::platform {
class Platform;
}

namespace quendril::site {

// The refer-a-friend fields, kept for the whole run of the program.
struct TellAFriend {
    QString ReferrerName;
    QString ReferrerEmail;
    QString ReferralMessage;
    QString FriendName;
    QString FriendEmail;
    QString ReferralAddress;
};

// The text each refer-a-friend box holds while nothing is typed in it; a field
// that still reads so counts as empty.
namespace placeholder {
inline constexpr QStringView name = u"Your Name";
inline constexpr QStringView email = u"Your Email Address";
inline constexpr QStringView friendName = u"Friend's Name";
inline constexpr QStringView friendEmail = u"Friend's Email Address";
inline constexpr QStringView message = u"Your Message";
} // namespace placeholder

// Removes leading and trailing spaces (code 32 only; tabs and line breaks stay).
QString trimSpaces(QStringView text);

// The refer-a-friend page with the five fields and the product folder as the
// parameters taf1..taf6. Each value is percent-encoded as UTF-8, so no field
// text can end a parameter early or add one of its own.
QString buildReferralAddress(const TellAFriend &fields);

// The message for the two e-mail addresses as typed (spaces already removed),
// or an empty text when they are distinct and each has an at sign and a dot.
QString emailAddressProblem(const QString &yours, const QString &friends);

// Checks the name, message and friend's name fields; when they pass, builds
// the address and opens the page. A failed check shows its message, owned by
// the window that asked for the checks.
void SubmitReferral(TellAFriend &fields, platform::Platform &platform, QWidget *owner);

// Hands the last built address to the browser.
void OpenReferralPage(const TellAFriend &fields, platform::Platform &platform);

} // namespace quendril::site
