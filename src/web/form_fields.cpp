#include "web/form_fields.h"

#include "core/number_text.h"
#include "web/param_decoding.h"

namespace chimewell {

bool IsPresent(const DecodedParams& params, std::string_view name) {
  return !GetParam(params, name).empty();
}

int FormInteger(std::string_view text, int fallback) {
  return ParseDecimalInteger(text).value_or(fallback);
}

}  // namespace chimewell
