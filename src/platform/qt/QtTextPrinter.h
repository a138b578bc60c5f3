// The printer text device on Qt PrintSupport (the system's default printer,
// reached through CUPS on Linux).
#pragma once

#include <memory>

#include "platform/TextPrinter.h"

namespace kestal {

std::unique_ptr<TextPrinter> createQtTextPrinter();

}  // namespace kestal
