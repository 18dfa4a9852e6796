#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringDecoder>
#include <QUrl>

#include <optional>

// Takes a refer-a-friend address apart the way the site's script would, for
// the fuzz target and the window tests alike. Gives nothing for an address a
// browser could receive other than as it was built: one with a character
// outside printable ASCII, a fragment, a value that is not fully encoded, or
// one that Qt's URL parser would rewrite on its way to the browser.
namespace quendril::check {

struct QueryParameter {
    QString name;
    QString value; // percent-decoded, read as UTF-8
};

// UTF-8 as a web server reads it: a byte-order mark at the start is a character like any other.
inline QString fromUtf8(const QByteArray &bytes)
{
    QStringDecoder decoder(
        QStringDecoder::Utf8, QStringDecoder::Flag::Stateless | QStringDecoder::Flag::ConvertInitialBom);
    return decoder(bytes);
}

inline bool isKeptInValue(char c)
{
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '-' || c == '.'
        || c == '_' || c == '~' || c == '/' || c == ':' || c == '@';
}

inline bool isHex(char c)
{
    return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'F');
}

// True when the value holds only kept characters and %XX escapes.
inline bool isFullyEncoded(const QByteArray &value)
{
    for (qsizetype i = 0; i < value.size(); ++i) {
        if (value[i] == '%') {
            if (i + 2 >= value.size() || !isHex(value[i + 1]) || !isHex(value[i + 2]))
                return false;
            i += 2;
        } else if (!isKeptInValue(value[i])) {
            return false;
        }
    }
    return true;
}

inline std::optional<QList<QueryParameter>> queryParameters(const QString &address)
{
    for (const QChar c : address) {
        if (c.unicode() < 0x21 || c.unicode() > 0x7e)
            return std::nullopt;
    }
    const QUrl url(address, QUrl::StrictMode);
    if (!url.isValid() || url.hasFragment() || !url.hasQuery())
        return std::nullopt;
    // The browser is handed the address through a tolerant QUrl: it must come out unchanged.
    if (QUrl(address, QUrl::TolerantMode).toString(QUrl::FullyEncoded) != address)
        return std::nullopt;

    QList<QueryParameter> parameters;
    const QByteArray query = url.query(QUrl::FullyEncoded).toLatin1();
    for (const QByteArray &part : query.split('&')) {
        const qsizetype equals = part.indexOf('=');
        if (equals < 0)
            return std::nullopt;
        const QByteArray value = part.mid(equals + 1);
        if (!isFullyEncoded(value))
            return std::nullopt;
        parameters.append({ QString::fromLatin1(part.left(equals)), fromUtf8(QByteArray::fromPercentEncoding(value)) });
    }
    return parameters;
}

// What a field text reads as after the trip through UTF-8: itself, unless it
// holds a lone surrogate, which no UTF-8 text can carry.
inline QString afterUtf8(const QString &field)
{
    return fromUtf8(field.toUtf8());
}

} // namespace quendril::check
