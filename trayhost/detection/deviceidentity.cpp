#include "trayhost/detection/deviceidentity.h"

#include "platform/codepage.h"
#include "trayhost/detection/kovadetection.h"

namespace trayhost {

std::string InquiryField(std::string_view raw, std::size_t width)
{
    const std::string_view field = raw.substr(0, width);
    return std::string(field.substr(0, field.find('\0')));
}

uint8_t ModelFromInquiry(std::string_view vendor, std::string_view product)
{
    if (!platform::EqualsNoCase(vendor, kInquiryVendor)) return kModelNone;
    if (platform::EqualsNoCase(product, kInquiryProductHd)) return kModelHd;
    if (platform::EqualsNoCase(product, kInquiryProductPj)) return kModelPj;
    return kModelNone;
}

uint8_t ModelFromDeviceDescription(std::string_view description)
{
    const std::string_view text = description.substr(0, description.find('\0'));
    if (platform::EqualsNoCase(text, kDeviceDescHd)) return kModelHd;
    if (platform::EqualsNoCase(text, kDeviceDescPj)) return kModelPj;
    return kModelNone;
}

}  // namespace trayhost
