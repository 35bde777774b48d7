#pragma once

#include <string>
#include <vector>

namespace Orvane::Third_party {

/// The user's preferred locales in order of preference ("fr", "en_US"); empty when the
/// platform gives none.
std::vector<std::string> get_locales();

} // namespace Orvane::Third_party
