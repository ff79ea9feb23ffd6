#pragma once

#include <QString>

// The bearer token goes into a request header as it is: only visible ASCII (no blank, no line
// end, nothing beyond 0x7E) may stand in it, or it could end the header and start another.
namespace AccessToken {

bool isWellFormed(const QString &token);

// Shown when a sign-in answer carries a token that could not be sent back.
QString refusedText();

} // namespace AccessToken
