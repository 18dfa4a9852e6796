#include "site_texts.h"

#include "site_address.h"

#include <algorithm>

namespace quendril::site {

QString boardAdvertisement(const QString &root)
{
    return QStringLiteral("The most popular numerology discussion board. The best numerology resource. "
                          "Visit %1 now!")
        .arg(hostOf(root));
}

QString homeLinkText(const QString &root)
{
    return QStringLiteral("Click here to visit ") + root;
}

QString aboutDescription(const QString &title, const QString &root)
{
    return QStringLiteral("%1 helps you find items you may have misplaced, using the principles of "
                          "Chaldean numerology. All rights to this software are held by %2.")
        .arg(title, root);
}

QString visitSiteCaption(const QString &root)
{
    return QStringLiteral("Click Here To Visit ") + hostOf(root) + QStringLiteral(" Now");
}

QString supportAppeal(int index, const QString &root)
{
    static const char16_t *const kAppeals[kSupportAppealCount] = {
        u"Programs such as this one can only be created and maintained with the support of our users. The best way to "
        u"support us is to visit %1 regularly and take part in the discussions and the other activities on the board.",
        u"Please visit %1 regularly and support it by taking part in the discussions and other activities there. "
        u"Without our users visiting the site regularly, these programs cannot be supported and maintained.",
        u"%1 is a free online discussion forum on everything about numerology. Please visit it regularly to help "
        u"the site develop and maintain this program.",
        u"%1 needs your help! All you have to do is visit it regularly and take part in its various discussions "
        u"and activities, to help us maintain this program and develop many more like it.",
    };
    const int k = std::clamp(index, 0, kSupportAppealCount - 1);
    return QString::fromUtf16(kAppeals[k]).arg(hostOf(root));
}

} // namespace quendril::site
