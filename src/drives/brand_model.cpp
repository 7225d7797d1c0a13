#include "drives/brand_model.h"

#include "drives/text_trim.h"

namespace corvane {

BrandModel SplitBrandModel(const std::string& vendorProduct) {
    if (vendorProduct.compare(0, 2, "ST") == 0)
        return {"Seagate", vendorProduct};
    const std::size_t blank = vendorProduct.find(' ');
    if (blank == std::string::npos)
        return {"", vendorProduct};
    return {vendorProduct.substr(0, blank),
            Trim(std::string_view(vendorProduct).substr(blank + 1))};
}

} // namespace corvane
