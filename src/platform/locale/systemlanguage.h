#pragma once
// The user's language as a Windows language identifier, the form the name
// table files its strings under; US English (1033) when it has none.
#include <cstdint>

namespace tsy {

uint16_t SystemLanguageID();

}  // namespace tsy
