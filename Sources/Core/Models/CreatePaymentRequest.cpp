#include "CreatePaymentRequest.h"

#include "UpdatePaymentRequest.h"

QJsonObject CreatePaymentRequest::toJson(const JsonPath &path) const
{
    // The same body as a change that sets the amount.
    return UpdatePaymentRequest{amount, currency, paidAt, status, method, note, externalRef}.toJson(path);
}
