#pragma once
// The line cipher belongs to the file formats, which depend on util alone;
// the catalogue keeps using it under its own names.
#include "formats/line_cipher.h"

namespace cd::catalogue {

using formats::DecodeLine;
using formats::DecodeLineInto;
using formats::EncodeLine;
using formats::EncodesIntact;
using formats::kCipherLineLimit;
using formats::kCipherShift;

}  // namespace cd::catalogue
