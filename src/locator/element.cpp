#include "locator/element.h"

namespace tvx {

Text ComposeStateText(std::int32_t state, const std::function<Text(std::int32_t)>& textOf) {
  if (state == 0) return textOf(0);
  Text text;
  for (std::int32_t bit = 1; bit <= 0x10000000; bit <<= 1) {
    if ((state & bit) != 0) {
      text += textOf(bit);
      text += ',';
    }
  }
  return text;
}

}  // namespace tvx
