#include "catalogue/target.h"

namespace wedge::catalogue {

WindowHandle targetWindow = nullptr;
char16_t targetTitle[TitleCapacity] = {};

}  // namespace wedge::catalogue
