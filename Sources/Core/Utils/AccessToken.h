#pragma once

#include <QString>

// The bearer token goes into a request header as it is: only visible ASCII (no blank, no line
// end, nothing beyond 0x7E) may stand in it, or it could end the header and start another. Its
// length is bounded too: every request carries it, and the keyring keeps it.
namespace AccessToken {

// Far above the signed tokens of any backend; far below what would burden every request.
inline constexpr qsizetype maxLength = 16 * 1024;

bool isWellFormed(const QString &token);

// Shown when a sign-in answer carries a token that could not be sent back.
QString refusedText();

// Whether the token of an e-mail or password link may be sent on: no longer than a sign-in token.
bool fitsLink(const QString &token);

// Shown when a link's token is longer than any the backend sends.
QString linkRefusedText();

} // namespace AccessToken
