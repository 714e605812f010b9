#pragma once
// The Record -> List conversion with every line decoded to UTF-16 first and
// characters counted as units throughout: the general way, which
// convertToListLayout, reading the UTF-8 bytes in place, must match byte for
// byte and fault for fault. Internal to the format library and its tests.
#include "format/Conversion.h"

namespace zuno {

ConversionResult<QByteArray> convertToListLayoutByUnits(QByteArrayView recordText);

} // namespace zuno
