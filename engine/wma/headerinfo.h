#pragma once

#include "engine/wma/wmformat.h"

#include <cstdint>

namespace engine {

// The header-information view of an opened WMA file: its attributes by name.
class HeaderInfo {
public:
    virtual ~HeaderInfo() = default;

    // Two-call protocol. With a null value: the attribute's type and its length in bytes. With a
    // value buffer of *length bytes: the value copied into it, *length set to the bytes written; a
    // value longer than the buffer is not copied and gives kAsfEBufferTooSmall with *length set to
    // the length needed. kAsfENotFound, with *length 0, when the stream holds no such attribute.
    // kEInvalidArg when name, type or length is null.
    virtual HResult GetAttributeByName(uint16_t streamNumber, const char16_t* name, AttributeDataType* type,
                                       uint8_t* value, uint32_t* length) = 0;
};

}  // namespace engine
