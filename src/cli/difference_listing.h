#pragma once
// The listing of two images' differences, as diff and the read-back checks print it: the report
// parameters side by side, then the bytes the window does not show, by address.

#include <string>

#include "core/compare/image_compare.h"

namespace tirna::cli {

// a and b head the columns of the two images.
std::string difference_listing(const Image_comparison& c, const std::string& a,
                               const std::string& b);

}  // namespace tirna::cli
