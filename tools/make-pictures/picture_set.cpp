#include "tools/make-pictures/picture_set.h"

HwlEncodeOptions Detailed(double threshold) {
  HwlEncodeOptions options;
  options.threshold = threshold;
  return options;
}
