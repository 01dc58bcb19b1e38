#include "tools/make-pictures/picture_set.h"

HwlEncodeOptions Detailed(double threshold, std::optional<int> lastLevel) {
  HwlEncodeOptions options;
  options.threshold = threshold;
  options.lastLevel = lastLevel;
  return options;
}
